#include "tools/demo/demo_tasks.h"

#include <cstdint>

// Pages are UTF-8: every Chinese literal here is a u8 literal, since the project compiles
// ordinary literals to code page 936.

namespace {

struct Category {
  const char* name;
  std::vector<const char*> subjects;
  std::vector<const char*> techs;
};

const std::vector<Category>& Categories() {
  static const std::vector<Category> categories = {
      {u8"桌面软件",
       {u8"仓库进销存管理系统", u8"学生成绩管理软件", u8"餐饮收银系统", u8"工厂考勤排班软件",
        u8"图书借阅管理系统", u8"医院挂号排队软件", u8"驾校学员管理系统", u8"物业收费管理软件",
        u8"服装店会员积分软件", u8"快递单批量打印工具", u8"药店库存管理软件", u8"汽修厂维修单管理系统"},
       {u8"C#", u8"Delphi", u8"VB.NET", u8"Qt", u8"易语言", u8"WPF", u8"MFC"}},
      {u8"多媒体软件",
       {u8"视频批量剪辑工具", u8"音频降噪处理软件", u8"直播推流助手", u8"图片批量加水印工具",
        u8"短视频字幕自动生成软件", u8"MP4转GIF小工具", u8"KTV点歌系统", u8"监控录像回放软件",
        u8"电子相册制作软件", u8"多路摄像头录制程序", u8"课件录屏软件", u8"背景音乐播放控制系统"},
       {u8"FFmpeg", u8"OpenCV", u8"DirectShow", u8"C++", u8"Python", u8"Qt"}},
      {u8"办公自动化OA",
       {u8"企业OA审批流程", u8"ERP生产管理模块", u8"合同管理系统", u8"费用报销审批系统",
        u8"人事档案管理系统", u8"采购订单系统", u8"会议室预约系统", u8"公文流转系统",
        u8"客户订单对账工具", u8"库存盘点模块", u8"车间报工系统", u8"固定资产管理系统"},
       {u8"Java", u8"PHP", u8"ASP.NET", u8".NET Core", u8"Spring Boot", u8"ThinkPHP"}},
      {u8"脚本制作",
       {u8"网页自动填表脚本", u8"游戏日常任务挂机脚本", u8"Excel批量处理宏", u8"数据采集爬虫脚本",
        u8"论坛自动回帖脚本", u8"文件批量改名脚本", u8"定时签到脚本", u8"按键精灵脚本",
        u8"表格数据清洗脚本", u8"商品价格监控脚本", u8"邮件批量发送脚本", u8"日志分析统计脚本"},
       {u8"Python", u8"按键精灵", u8"AutoHotkey", u8"VBA", u8"JavaScript", u8"Lua"}},
      {u8"插件制作",
       {u8"浏览器翻译插件", u8"Chrome书签同步插件", u8"WordPress会员插件", u8"Photoshop批处理插件",
        u8"Excel数据透视插件", u8"Discuz论坛插件", u8"Office电子签章插件", u8"Unity编辑器扩展",
        u8"VS Code代码片段插件", u8"网店客服助手插件", u8"CAD批量出图插件", u8"微信小程序组件"},
       {u8"JavaScript", u8"C#", u8"PHP", u8"C++", u8"VBA", u8"TypeScript"}},
      {u8"其他软件",
       {u8"局域网文件同步工具", u8"串口调试助手", u8"PLC数据采集上位机", u8"二维码批量生成器",
        u8"打印机状态监控程序", u8"U盘加密工具", u8"配置文件格式转换器", u8"数据库定时备份工具",
        u8"网络测速工具", u8"车牌识别小程序", u8"称重仪表数据读取程序", u8"门禁刷卡记录导出工具"},
       {u8"C#", u8"C++", u8"Python", u8"Go", u8"Java", u8"Delphi"}},
      {u8"客户关系管理",
       {u8"客户跟进管理系统", u8"电话回访记录软件", u8"销售线索管理系统", u8"会员营销短信平台",
        u8"客户工单系统", u8"微信客户管理后台", u8"售后服务跟踪系统", u8"客户分级统计报表",
        u8"渠道商管理系统", u8"客服知识库系统", u8"保险客户回访系统", u8"房产中介客源管理软件"},
       {u8"PHP", u8"Java", u8"C#", u8"Vue", u8"Laravel", u8"ASP.NET"}},
  };
  return categories;
}

// Which categories a listing draws from: its own, or all of them for the whole section and
// the escrowed listing.
constexpr int kAllCategories = -1;

struct ListingSource {
  int category;
  bool escrowedOnly;
};

const ListingSource kSources[] = {
    {kAllCategories, false}, {0, false}, {1, false}, {2, false}, {3, false},
    {4, false},              {5, false}, {kAllCategories, true}, {6, false},
};

const char* const kPrefixes[] = {u8"", u8"求开发", u8"定制", u8"急需", u8"寻找开发者做", u8"外包",
                                 u8"诚聘程序员做", u8"重金求"};
const char* const kSuffixes[] = {u8"", u8"（长期合作）", u8"，预算可商量", u8"（急）", u8"，有源码优先",
                                 u8"二次开发", u8"，可远程协助", u8"升级改版"};
const char* const kFeatures[] = {
    u8"支持Excel导入导出", u8"界面简洁美观，操作方便", u8"数据保存到本地SQLite数据库",
    u8"需要多用户权限管理", u8"支持Windows 7及以上系统", u8"需提供完整源码和开发文档",
    u8"能按月打印统计报表", u8"运行稳定，长时间不卡顿", u8"要求打包成安装程序",
    u8"数据需定时自动备份", u8"支持局域网多台电脑同时使用", u8"关键操作要有日志记录",
    u8"需要对接现有的MySQL数据库", u8"界面参考附件中的截图", u8"能在手机上查看结果",
    u8"支持批量处理，一次上千条"};
const char* const kClosings[] = {u8"有类似案例者优先。", u8"请附上报价和工期。", u8"验收通过后一次付清。",
                                 u8"先做演示版本，满意后继续合作。", u8"非诚勿扰。", u8"可签合同，开发票。"};
const char* const kDetailSentences[] = {
    u8"我们是一家成立多年的中小企业，目前主要靠人工登记，效率低而且容易出错。",
    u8"希望做一套稳定好用的软件代替现在的手工表格，员工稍加培训就能上手。",
    u8"开发过程中每周汇报一次进度，重要节点需要远程演示。",
    u8"交付内容包括可执行程序、全部源代码、数据库脚本和使用说明书。",
    u8"验收标准以双方确认的需求文档为准，验收后提供三个月免费维护。",
    u8"原有数据大约有五万条记录，需要一并迁移到新系统中。",
    u8"界面文字全部使用中文，字体大小要适合上了年纪的同事使用。",
    u8"如果有现成的类似产品可以修改，也欢迎报价，但必须保证能二次开发。",
    u8"程序需要在公司内网运行，不能依赖外网服务。",
    u8"报价请写明开发周期、付款方式以及是否包含后期升级。",
    u8"我方可以提供测试服务器和测试数据，开发者需签署保密协议。",
    u8"项目完成得好的话后续还有其他模块交给同一位开发者。",
    u8"希望开发者有三年以上相关经验，能按时交付，沟通顺畅。",
    u8"已经找过两家都没做好，这次希望找到靠谱的人一次做完。"};
const int kBudgets[] = {200, 300, 500, 800, 1000, 1200, 1500, 2000, 3000, 5000, 8000, 12000, 20000};

// splitmix64: the same numbers on every platform, so every run serves the same pages.
struct Rng {
  uint64_t state;
  uint64_t Next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  template <typename T, size_t N>
  const T& Pick(const T (&items)[N]) { return items[Below(static_cast<int>(N))]; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) { return items[Below(static_cast<int>(items.size()))]; }
};

uint64_t Seed(int listing, int page, int index) {
  return (static_cast<uint64_t>(listing) << 40) ^ (static_cast<uint64_t>(page) << 12) ^
         static_cast<uint64_t>(index) ^ 0x5EED0F7A5C011EC7ULL;
}

constexpr long long kIdBase = 10000000;

int TaskCount(int listing, int page) {
  Rng rng{Seed(listing, page, 0xFFF)};
  return 20 + rng.Below(21);  // 20 to 40 tasks a page
}

DemoTask MakeTask(int listing, int page, int index) {
  Rng rng{Seed(listing, page, index)};
  const ListingSource source = kSources[listing];
  const int categoryIndex = source.category == kAllCategories
                                ? rng.Below(static_cast<int>(Categories().size()))
                                : source.category;
  const Category& category = Categories()[categoryIndex];

  DemoTask task;
  task.id = kIdBase + listing * 1000000LL + page * 100LL + index;
  task.category = category.name;
  task.tech = rng.Pick(category.techs);
  task.budget = rng.Pick(kBudgets);
  task.days = 3 + rng.Below(58);
  task.bids = rng.Below(60);
  task.escrowed = source.escrowedOnly || rng.Below(3) == 0;
  task.title = std::string(rng.Pick(kPrefixes)) + rng.Pick(category.subjects) + rng.Pick(kSuffixes);

  std::string requirement = u8"使用" + task.tech + u8"开发，";
  const int features = 2 + rng.Below(3);
  for (int f = 0; f < features; ++f) requirement += std::string(rng.Pick(kFeatures)) + u8"，";
  requirement += u8"预算" + std::to_string(task.budget) + u8"元，工期" + std::to_string(task.days) +
                 u8"天。" + rng.Pick(kClosings);
  task.requirement = requirement;

  static const char kHex[] = "0123456789abcdef";
  task.employer = u8"用户";
  for (int c = 0; c < 6; ++c) task.employer += kHex[rng.Below(16)];
  const int earlier = 5 + rng.Below(5);
  for (int e = 0; e < earlier; ++e)
    task.employerHistory.push_back(std::string(rng.Pick(kPrefixes)) + rng.Pick(category.subjects));

  const int sentences = 18 + rng.Below(23);
  for (int s = 0; s < sentences; ++s) task.detail += rng.Pick(kDetailSentences);
  return task;
}

}  // namespace

const std::vector<DemoListing>& DemoListings() {
  static const std::vector<DemoListing> listings = {
      {"/c-rjkf/t.html", u8"软件开发", 50},
      {"/c-rjkf/zmyy/t.html", u8"桌面软件", 12},
      {"/c-rjkf/dmtrj/t.html", u8"多媒体软件", 6},
      {"/c-rjkf/erp/t.html", u8"办公自动化OA", 9},
      {"/c-rjkf/jbkf/t.html", u8"脚本制作", 15},
      {"/c-rjkf/chajiankf/t.html", u8"插件制作", 5},
      {"/c-rjkf/qtrjkf/t.html", u8"其他软件", 8},
      {"/c-rjkf/th3.html", u8"已托管任务", 4},
      {"/c-rjkf/crm/t.html", u8"客户关系管理", 7},
  };
  return listings;
}

std::vector<DemoTask> DemoListingTasks(int listing, int page) {
  std::vector<DemoTask> tasks;
  if (listing < 0 || listing >= static_cast<int>(DemoListings().size())) return tasks;
  if (page < 1 || page > DemoListings()[listing].pageCount) return tasks;
  const int count = TaskCount(listing, page);
  for (int i = 0; i < count; ++i) tasks.push_back(MakeTask(listing, page, i));
  return tasks;
}

bool DemoTaskById(long long id, DemoTask* task) {
  const long long rest = id - kIdBase;
  if (rest < 0) return false;
  const int listing = static_cast<int>(rest / 1000000);
  const int page = static_cast<int>(rest % 1000000 / 100);
  const int index = static_cast<int>(rest % 100);
  if (listing >= static_cast<int>(DemoListings().size())) return false;
  if (page < 1 || page > DemoListings()[listing].pageCount) return false;
  if (index >= TaskCount(listing, page)) return false;
  *task = MakeTask(listing, page, index);
  return true;
}
