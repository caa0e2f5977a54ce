// The demo marketplace: serves the listing pages and task pages of demo_pages on 127.0.0.1.
//   demo_marketplace [--port N]     (N = 0, the default, picks a free port)
#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/demo/demo_pages.h"

int main(int argc, char** argv) {
  int port = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
      char* end = nullptr;
      const long value = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || value < 0 || value > 65535) {
        std::fprintf(stderr, "demo marketplace: bad port %s\n", argv[i]);
        return 2;
      }
      port = static_cast<int>(value);
    } else {
      std::fprintf(stderr, "usage: %s [--port N]\n", argv[0]);
      return 2;
    }
  }

  httplib::Server server;
  int bound = -1;
  server.Get(".*", [&bound](const httplib::Request& request, httplib::Response& response) {
    // Links lead back to whichever address the client reached us by; a Host header that is
    // not a plain host name and port is not copied into the pages' markup.
    std::string host = request.get_header_value("Host");
    if (host.empty() || host.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                               "0123456789.-:[]") != std::string::npos)
      host = "127.0.0.1:" + std::to_string(bound);
    const std::string site = "http://" + host;
    DemoResponse page = DemoMarketplaceResponse(request.path, site);
    response.status = page.status;
    response.set_content(std::move(page.body), "text/html; charset=utf-8");
  });

  // Loopback only: the demo is for this machine's program, not for the network.
  bound = port == 0 ? server.bind_to_any_port("127.0.0.1") :
                      (server.bind_to_port("127.0.0.1", port) ? port : -1);
  if (bound <= 0) {
    std::fprintf(stderr, "demo marketplace: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("demo marketplace listening on http://127.0.0.1:%d\n", bound);
  std::fflush(stdout);
  return server.listen_after_bind() ? 0 : 1;
}
