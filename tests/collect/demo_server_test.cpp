// The demo marketplace server as a process: it says where it listens, and serves over HTTP
// exactly the pages the page generator builds.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tools/demo/demo_pages.h"

extern char** environ;

namespace {

struct Server {
  pid_t pid = -1;
  int port = 0;
  std::string firstLine;

  explicit Server(const std::vector<std::string>& args) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv;
    std::vector<std::string> all = {TC_DEMO_SERVER};
    all.insert(all.end(), args.begin(), args.end());
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn(&pid, TC_DEMO_SERVER, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') firstLine += c;
    close(out[0]);
    std::sscanf(firstLine.c_str(), "demo marketplace listening on http://127.0.0.1:%d", &port);
  }
  int Wait() {
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  ~Server() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
  }
};

TEST(DemoServer, ServesTheGeneratedPagesOnLoopback) {
  Server server({"--port", "0"});
  ASSERT_GT(server.port, 0) << server.firstLine;
  EXPECT_EQ(server.firstLine, "demo marketplace listening on http://127.0.0.1:" + std::to_string(server.port));
  const std::string site = "http://127.0.0.1:" + std::to_string(server.port);

  httplib::Client client("127.0.0.1", server.port);
  const struct {
    std::string path;
    int status;
    std::string body;
  } cases[] = {
      {"/c-rjkf/zmyy/tp2.html", 200, DemoListingPage(1, 2, site)},
      {"/c-rjkf/th3.html", 200, DemoListingPage(7, 1, site)},
      {"/c-rjkf/crm/tp99.html", 200, DemoListingPage(8, 99, site)},
      {"/c-rjkf/tp3.html?from=nav", 200, DemoListingPage(0, 3, site)},
      {"/task/10000100", 200, DemoMarketplaceResponse("/task/10000100", site).body},
      {"/nothing-here", 404, DemoMarketplaceResponse("/nothing-here", site).body},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const auto response = client.Get(c.path);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, c.status);
    EXPECT_EQ(response->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_TRUE(response->body == c.body);
  }
}

TEST(DemoServer, AHostileHostHeaderIsNotCopiedIntoThePage) {
  Server server({});
  ASSERT_GT(server.port, 0) << server.firstLine;
  httplib::Client client("127.0.0.1", server.port);
  const auto response = client.Get("/c-rjkf/tp1.html", {{"Host", "x\"><script>alert(1)</script>"}});
  ASSERT_TRUE(response);
  EXPECT_EQ(response->body.find("<script>alert"), std::string::npos);
  EXPECT_TRUE(response->body == DemoListingPage(0, 1, "http://127.0.0.1:" + std::to_string(server.port)));
}

TEST(DemoServer, RefusesABadCommandLine) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--port", "70000"}, {"--port", "x"}, {"--verbose"}}) {
    Server server(args);
    EXPECT_EQ(server.port, 0);
    EXPECT_EQ(server.Wait(), 2);
  }
}

}  // namespace
