#include "tools/demo/demo_pages.h"

// Every Chinese literal is u8: the pages are UTF-8 while the project's ordinary literals are
// compiled to code page 936.

namespace {

const char* const kCities[] = {
    u8"北京", u8"上海", u8"广州", u8"深圳", u8"杭州", u8"南京", u8"苏州", u8"成都", u8"重庆", u8"武汉",
    u8"西安", u8"天津", u8"长沙", u8"郑州", u8"青岛", u8"济南", u8"合肥", u8"福州", u8"厦门", u8"宁波",
    u8"无锡", u8"东莞", u8"佛山", u8"沈阳", u8"大连", u8"哈尔滨", u8"长春", u8"石家庄", u8"太原", u8"南昌",
    u8"昆明", u8"贵阳", u8"南宁", u8"海口", u8"兰州", u8"银川", u8"西宁", u8"乌鲁木齐", u8"呼和浩特", u8"拉萨",
    u8"温州", u8"泉州", u8"烟台", u8"潍坊", u8"徐州", u8"常州", u8"南通", u8"嘉兴", u8"绍兴", u8"金华"};

const char* const kSkills[] = {u8"软件开发", u8"网站建设", u8"小程序开发", u8"APP开发", u8"UI设计",
                               u8"数据库", u8"爬虫采集", u8"系统集成", u8"测试运维", u8"嵌入式"};

const char kStyle[] =
    "<style>\n"
    "body{margin:0;font:12px/1.6 \"Microsoft YaHei\",SimSun,sans-serif;color:#333;background:#f5f5f5}\n"
    "a{color:#2b6cb0;text-decoration:none}a:hover{color:#e05a00;text-decoration:underline}\n"
    ".top-bar{height:30px;line-height:30px;background:#fafafa;border-bottom:1px solid #e5e5e5}\n"
    ".header{width:1200px;margin:0 auto;height:90px;position:relative}\n"
    ".header .logo{position:absolute;left:0;top:18px;width:220px;height:56px}\n"
    ".nav{background:#e05a00;height:42px}.nav li{float:left;padding:0 18px;line-height:42px}\n"
    ".nav li a{color:#fff;font-size:15px}.nav li.cur{background:#c44d00}\n"
    ".crumbs{width:1200px;margin:10px auto;color:#999}\n"
    ".main{width:1200px;margin:0 auto;overflow:hidden}.side{float:right;width:270px}\n"
    ".content{float:left;width:910px;background:#fff;border:1px solid #e8e8e8}\n"
    "table.list-task{width:100%;border-collapse:collapse}\n"
    "table.list-task th{background:#fafafa;height:36px;font-weight:normal;color:#666}\n"
    "table.list-task td{border-bottom:1px dashed #e5e5e5;padding:14px 10px;vertical-align:top}\n"
    ".list-task-title{font-size:14px;color:#222;font-weight:bold}\n"
    ".list-task-ctn{color:#777;margin:6px 0 0;max-height:40px;overflow:hidden}\n"
    ".list-task-price em{color:#e05a00;font-size:16px;font-style:normal;font-weight:bold}\n"
    ".list-task-tag{display:inline-block;padding:0 4px;margin-right:6px;border:1px solid #f60;"
    "color:#f60;font-size:12px;line-height:16px}\n"
    ".list-task-more{display:none}.btn-join{display:inline-block;width:64px;height:26px;"
    "line-height:26px;text-align:center;background:#e05a00;color:#fff;border-radius:3px}\n"
    ".icon{width:14px;height:14px;vertical-align:-2px;fill:currentColor}\n"
    ".pager{padding:20px;text-align:center}.pager a,.pager span{display:inline-block;"
    "padding:0 10px;height:28px;line-height:28px;border:1px solid #ddd;margin:0 3px}\n"
    ".footer{margin-top:30px;background:#333;color:#aaa;padding:30px 0}\n"
    ".footer dl{float:left;width:200px}.footer dt{color:#fff;font-size:14px}\n"
    ".footer dd{margin:0;line-height:24px}.footer a{color:#aaa}\n"
    "</style>\n";

const char kScript[] =
    "<script>\n"
    "(function(){var d=document,w=window;function $(s){return d.querySelectorAll(s)}\n"
    "function track(o,e){try{var i=new Image();i.src='/stat/click?o='+encodeURIComponent(o)"
    "+'&t='+(+new Date());}catch(x){}}\n"
    "w.addEventListener('load',function(){var a=$('.list-task-title');for(var k=0;k<a.length;k++)"
    "{a[k].addEventListener('click',function(){track(this.getAttribute('data-sc'))})}\n"
    "var m=$('.list-task-item');for(var j=0;j<m.length;j++){m[j].addEventListener('mouseenter',"
    "function(){var x=this.querySelector('.list-task-more');if(x)x.style.display='block'});\n"
    "m[j].addEventListener('mouseleave',function(){var x=this.querySelector('.list-task-more');"
    "if(x)x.style.display='none'})}});})();\n"
    "</script>\n";

// Inline icons, as the marketplace draws its badges.
const char kEscrowIcon[] =
    "<svg class=\"icon\" viewBox=\"0 0 1024 1024\"><path d=\"M512 64l384 128v288c0 235-160 420-384 "
    "480-224-60-384-245-384-480V192L512 64zm0 88L208 253v227c0 186 124 338 304 392 180-54 304-206 "
    "304-392V253L512 152zm-44 500L320 504l56-56 92 92 180-180 56 56-236 236z\"/></svg>";
const char kVerifiedIcon[] =
    "<svg class=\"icon\" viewBox=\"0 0 1024 1024\"><path d=\"M512 32c265 0 480 215 480 480S777 992 "
    "512 992 32 777 32 512 247 32 512 32zm0 80c-221 0-400 179-400 400s179 400 400 400 400-179 "
    "400-400-179-400-400-400zm190 230l56 56-300 300-170-170 56-56 114 114 244-244z\"/></svg>";

std::string ListingAddressOf(int listing, const std::string& site) {
  return site + DemoListings()[listing].path;
}

// "t.html" -> "tp<i>.html": the same rule the collector addresses pages by.
std::string ListingPagePath(int listing, int page) {
  const std::string path = DemoListings()[listing].path;
  return path.substr(0, path.size() - 5) + "p" + std::to_string(page) + ".html";
}

std::string Head(const std::string& title) {
  std::string h;
  h += u8"<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  h += title;
  h += u8" - 青石坊接单网</title>\n<meta name=\"keywords\" content=\"软件开发,外包,接单,兼职,威客\">\n"
       u8"<meta name=\"description\" content=\"青石坊接单网软件开发频道，汇集桌面软件、多媒体软件、"
       u8"办公自动化、脚本、插件、客户关系管理等软件开发需求。\">\n";
  h += kStyle;
  h += "</head>\n";
  return h;
}

std::string TopAndNav(const std::string& site, int currentListing) {
  std::string h;
  h += u8"<body>\n<div class=\"top-bar\"><div class=\"wrap\">您好，欢迎来到青石坊接单网！"
       u8"<a href=\"" + site + u8"/login/\">请登录</a> <a href=\"" + site +
       u8"/reg/\">免费注册</a> | <a href=\"" + site + u8"/help/\">帮助中心</a></div></div>\n";
  h += u8"<div class=\"header\"><a class=\"logo\" href=\"" + site +
       u8"/\" title=\"青石坊接单网\">青石坊接单网</a>"
       u8"<form class=\"search\" action=\"" + site + u8"/search/\"><input name=\"kw\" "
       u8"placeholder=\"搜索任务、服务商\"><button type=\"submit\">搜索</button></form></div>\n";
  h += u8"<ul class=\"nav\">";
  for (int i = 0; i < static_cast<int>(DemoListings().size()); ++i) {
    h += i == currentListing ? u8"<li class=\"cur\">" : u8"<li>";
    h += u8"<a href=\"" + ListingAddressOf(i, site) + u8"\">" + DemoListings()[i].name + u8"</a></li>";
  }
  h += u8"</ul>\n";
  return h;
}

std::string Side(const std::string& site) {
  std::string h = u8"<div class=\"side\"><div class=\"box\"><h3>按城市找任务</h3><ul class=\"city\">";
  int n = 0;
  for (const char* city : kCities) {
    ++n;
    h += u8"<li><a href=\"" + site + u8"/city/" + std::to_string(n) + u8"/\">" + city + u8"</a>";
    for (const char* skill : kSkills)
      h += u8" <a href=\"" + site + u8"/city/" + std::to_string(n) + u8"/skill/\" title=\"" + city + skill +
           u8"\">" + skill + u8"</a>";
    // One city a line: a single line of tens of KB makes a word-wrapping edit box lay the
    // whole line out again at every wrap, which is what pages of the real site avoid too.
    h += u8"</li>\n";
  }
  h += u8"</ul></div></div>\n";
  return h;
}

std::string Footer(const std::string& site) {
  std::string h = u8"<div class=\"footer\"><div class=\"wrap\">";
  h += u8"<dl><dt>新手入门</dt><dd><a href=\"" + site + u8"/help/1/\">如何发布任务</a></dd><dd><a href=\"" +
       site + u8"/help/2/\">如何承接任务</a></dd><dd><a href=\"" + site + u8"/help/3/\">交易流程</a></dd></dl>";
  h += u8"<dl><dt>交易保障</dt><dd><a href=\"" + site + u8"/help/4/\">资金托管</a></dd><dd><a href=\"" +
       site + u8"/help/5/\">交易纠纷处理</a></dd><dd><a href=\"" + site + u8"/credit/\">诚信管理中心</a></dd></dl>";
  h += u8"<dl><dt>关于我们</dt><dd><a href=\"" + site + u8"/about/\">公司简介</a></dd><dd><a href=\"" +
       site + u8"/contact/\">联系我们</a></dd></dl>";
  h += u8"<p class=\"copy\">Copyright © 2010-2026 青石坊接单网 版权所有（演示站点，数据均为虚构）</p>"
       u8"</div></div>\n";
  h += kScript;
  h += u8"</body>\n</html>\n";
  return h;
}

std::string TaskRow(const DemoTask& task, const std::string& site) {
  const std::string link = DemoTaskLink(task, site);
  std::string h;
  h += u8"<tr class=\"list-task-item\" data-id=\"" + std::to_string(task.id) + u8"\">\n";
  h += u8"<td class=\"list-task-info\"><div class=\"list-task-head\">";
  if (task.escrowed) h += std::string(u8"<span class=\"list-task-tag\">") + kEscrowIcon + u8"已托管</span>";
  h += u8"<a class=\"list-task-title\" href=\"" + link +
       u8"\" target=\"_blank\" data-sc=\"{obj:'main'}\">" + task.title + u8"</a></div>\n";
  h += u8"<p class=\"list-task-ctn\">" + task.requirement + u8"</p></td>\n";
  h += u8"<td class=\"list-task-price\"><em>￥" + std::to_string(task.budget) + u8"</em><br>" +
       std::to_string(task.days) + u8"天内交付</td>\n";
  h += u8"<td class=\"list-task-cate\"><span>" + task.category + u8"</span><br><span>" + task.tech +
       u8"</span></td>\n";
  h += u8"<td class=\"list-task-detail\"><div class=\"list-task-more\"><h4>需求详情</h4><p>" + task.detail +
       u8"</p><p class=\"employer\">" + kVerifiedIcon + u8"雇主已实名认证 " + kVerifiedIcon +
       u8"手机已验证</p><p class=\"history\">" + task.employer + u8" 近期发布：";
  // Earlier tasks are named, not linked: the marketplace no longer shows closed tasks.
  for (const std::string& earlier : task.employerHistory)
    h += u8"<span class=\"closed\" title=\"" + earlier + u8"（已结束）\">" + earlier + u8"</span> ";
  h += u8"</p><p class=\"tags\">";
  for (const char* skill : kSkills) h += u8"<a href=\"" + site + u8"/skill/\">" + skill + u8"</a> ";
  h += u8"</p></div></td>\n";
  h += u8"<td class=\"list-task-bid\"><span class=\"num\">" + std::to_string(task.bids) +
       u8"</span>人已报名<br><a class=\"btn-join\" href=\"" + link + u8"#join\" rel=\"nofollow\">参与</a></td>\n";
  h += u8"</tr>\n";
  return h;
}

std::string Pager(int listing, int page, const std::string& site) {
  const int last = DemoListings()[listing].pageCount;
  std::string h = u8"<div class=\"pager\">";
  if (page > 1 && page <= last + 1)
    h += u8"<a href=\"" + site + ListingPagePath(listing, page - 1) + u8"\">上一页</a>";
  for (int p = 1; p <= last && p <= 10; ++p) {
    if (p == page)
      h += u8"<span class=\"cur\">" + std::to_string(p) + u8"</span>";
    else
      h += u8"<a href=\"" + site + ListingPagePath(listing, p) + u8"\">" + std::to_string(p) + u8"</a>";
  }
  if (page < last) h += u8"<a href=\"" + site + ListingPagePath(listing, page + 1) + u8"\">下一页</a>";
  h += u8"<span>共" + std::to_string(last) + u8"页</span></div>\n";
  return h;
}

std::string TaskPage(const DemoTask& task, const std::string& site) {
  std::string h = Head(task.title);
  h += TopAndNav(site, -1);
  h += u8"<div class=\"main\"><div class=\"content task-view\"><h1>" + task.title + u8"</h1>\n";
  h += u8"<p class=\"task-status\">" + std::string(task.escrowed ? u8"赏金已托管" : u8"赏金未托管") +
       u8" · 预算 <em>￥" + std::to_string(task.budget) + u8"</em> · 工期 " + std::to_string(task.days) +
       u8" 天 · " + std::to_string(task.bids) + u8" 人已报名</p>\n";
  h += u8"<p>分类：" + task.category + u8"　技术：" + task.tech + u8"</p>\n";
  h += u8"<h3>任务要求</h3><p>" + task.requirement + u8"</p>\n";
  h += u8"<h3>需求详情</h3><p>" + task.detail + u8"</p>\n";
  h += u8"<p><a href=\"" + site + u8"/c-rjkf/t.html\">返回任务列表</a></p></div></div>\n";
  h += Footer(site);
  return h;
}

std::string IndexPage(const std::string& site) {
  std::string h = Head(u8"首页");
  h += TopAndNav(site, -1);
  h += u8"<div class=\"main\"><div class=\"content\"><h1>软件开发任务（演示站点）</h1><ul>";
  for (int i = 0; i < static_cast<int>(DemoListings().size()); ++i)
    h += u8"<li><a href=\"" + ListingAddressOf(i, site) + u8"\">" + DemoListings()[i].name + u8"</a>（" +
         std::to_string(DemoListings()[i].pageCount) + u8"页）</li>";
  h += u8"</ul></div></div>\n";
  h += Footer(site);
  return h;
}

std::string NotFoundPage(const std::string& site) {
  std::string h = Head(u8"页面不存在");
  h += TopAndNav(site, -1);
  h += u8"<div class=\"main\"><div class=\"content\"><h1>抱歉，您访问的页面不存在</h1></div></div>\n";
  h += Footer(site);
  return h;
}

bool ParseDigits(const std::string& text, long long* value) {
  if (text.empty() || text.size() > 12) return false;
  long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *value = v;
  return true;
}

}  // namespace

std::string DemoTaskLink(const DemoTask& task, const std::string& site) {
  return site + "/task/" + std::to_string(task.id) + "/";
}

bool DemoResolveListingPath(const std::string& path, int* listing, int* page) {
  static const std::string kHtml = ".html";
  for (int i = 0; i < static_cast<int>(DemoListings().size()); ++i) {
    const std::string own = DemoListings()[i].path;
    const size_t slash = own.rfind('/');
    const std::string dir = own.substr(0, slash + 1);
    const std::string name = own.substr(slash + 1, own.size() - slash - 1 - kHtml.size());
    if (path.size() < dir.size() + kHtml.size() || path.compare(0, dir.size(), dir) != 0 ||
        path.compare(path.size() - kHtml.size(), kHtml.size(), kHtml) != 0)
      continue;
    const std::string middle = path.substr(dir.size(), path.size() - dir.size() - kHtml.size());
    if (middle == name) {
      *listing = i;
      *page = 1;
      return true;
    }
    long long number = 0;
    if (middle.compare(0, name.size() + 1, name + "p") == 0 &&
        ParseDigits(middle.substr(name.size() + 1), &number)) {
      *listing = i;
      *page = number > 1000000 ? 1000000 : static_cast<int>(number);  // far beyond any last page
      return true;
    }
  }
  return false;
}

std::string DemoListingPage(int listing, int page, const std::string& site) {
  const DemoListing& l = DemoListings()[listing];
  std::string h = Head(std::string(l.name) + u8"任务 第" + std::to_string(page) + u8"页");
  h += TopAndNav(site, listing);
  h += u8"<div class=\"crumbs\">当前位置：<a href=\"" + site + u8"/\">首页</a> &gt; <a href=\"" + site +
       u8"/c-rjkf/t.html\">软件开发</a> &gt; " + l.name + u8"</div>\n";
  h += u8"<div class=\"main\">\n" + Side(site) + u8"<div class=\"content\">\n";
  h += u8"<table class=\"list-task\">\n<tr><th>任务</th><th>赏金</th><th>分类</th><th></th><th>报名</th></tr>\n";
  const std::vector<DemoTask> tasks = DemoListingTasks(listing, page);
  for (const DemoTask& task : tasks) h += TaskRow(task, site);
  if (tasks.empty())
    h += u8"<tr><td colspan=\"5\" class=\"list-task-empty\">暂无符合条件的任务，去看看其他分类吧。</td></tr>\n";
  h += u8"</table>\n";
  h += Pager(listing, page, site);
  h += u8"</div>\n</div>\n";
  h += Footer(site);
  return h;
}

DemoResponse DemoMarketplaceResponse(const std::string& path, const std::string& site) {
  int listing = 0, page = 0;
  if (path == "/" || path == "/index.html") return {200, IndexPage(site)};
  if (DemoResolveListingPath(path, &listing, &page)) return {200, DemoListingPage(listing, page, site)};

  // Task pages: "/task/<id>/", and "/task/<id>" as the collector's address cells hold them.
  static const std::string kTask = "/task/";
  if (path.compare(0, kTask.size(), kTask) == 0) {
    std::string number = path.substr(kTask.size());
    if (!number.empty() && number.back() == '/') number.pop_back();
    long long id = 0;
    DemoTask task;
    if (ParseDigits(number, &id) && DemoTaskById(id, &task)) return {200, TaskPage(task, site)};
  }
  return {404, NotFoundPage(site)};
}
