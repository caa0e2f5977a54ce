// The loopback server checked with a bare Winsock client, so the web tests can trust what it
// records and sends byte for byte.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/loopback_server_win.h"

namespace {

// Sends `request` on a new connection and reads until the server closes it or `limit` bytes.
std::string Exchange(int port, const std::string& request, size_t limit = 1 << 20, bool halfClose = false) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<u_short>(port));
  DWORD timeout = 5000;
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  EXPECT_EQ(0, connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr));
  send(s, request.data(), static_cast<int>(request.size()), 0);
  if (halfClose) shutdown(s, SD_SEND);
  std::string got;
  char buffer[4096];
  int n;
  while (got.size() < limit && (n = recv(s, buffer, sizeof buffer, 0)) > 0) got.append(buffer, static_cast<size_t>(n));
  closesocket(s);
  return got;
}

class LoopbackServerTest : public ::testing::Test {
 protected:
  LoopbackServer server;
};

TEST_F(LoopbackServerTest, EchoesTheRequestExactly) {
  const std::string request = "POST /x?y=1 HTTP/1.1\r\nHost: h\r\nContent-Length: 3\r\nX-A:  b \r\n\r\nabc";
  // Two requests on one connection: both answered, then the server sees the end and closes.
  const std::string reply = Exchange(server.Port(), request + "GET /second HTTP/1.1\r\n\r\n", 1 << 20, true);
  EXPECT_NE(std::string::npos, reply.find("\r\n\r\nGET /second HTTP/1.1\r\n\r\n"));
  ASSERT_EQ(2, server.RequestCount());
  EXPECT_EQ(request, server.Requests()[0]);
  EXPECT_EQ("POST /x?y=1 HTTP/1.1", LoopbackRequestLine(request));
  EXPECT_EQ("Host: h\r\nContent-Length: 3\r\nX-A:  b ", LoopbackRequestHeaders(request));
  EXPECT_EQ("abc", LoopbackRequestBody(request));
  EXPECT_EQ("GET /second HTTP/1.1\r\n\r\n", server.LastRequest());
  EXPECT_EQ(1, server.ConnectionCount());
}

TEST_F(LoopbackServerTest, EchoReplyCarriesTheRequestAsBody) {
  const std::string request = "GET /e HTTP/1.1\r\nA: 1\r\n\r\n";
  const std::string reply = Exchange(server.Port(), request, 1 << 20, true);
  EXPECT_EQ("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(request.size()) +
                "\r\n\r\n" + request,
            reply);
}

TEST_F(LoopbackServerTest, CannedReplyByPathAndByAbsoluteTarget) {
  server.SetReply("/c", {"HTTP/1.1 404 Nope", {"Set-Cookie: a=1; path=/"}, "body"});
  const std::string expected = "HTTP/1.1 404 Nope\r\nSet-Cookie: a=1; path=/\r\nContent-Length: 4\r\n\r\nbody";
  EXPECT_EQ(expected, Exchange(server.Port(), "GET /c HTTP/1.1\r\n\r\n", 1 << 20, true));
  EXPECT_EQ(expected, Exchange(server.Port(), "GET http://elsewhere.test:81/c HTTP/1.1\r\n\r\n", 1 << 20, true));
}

TEST_F(LoopbackServerTest, ConnectIsRecordedAndRefused) {
  const std::string reply = Exchange(server.Port(), "CONNECT h.test:443 HTTP/1.1\r\n\r\n");
  EXPECT_EQ(0u, reply.find("HTTP/1.1 502 "));
  EXPECT_EQ("CONNECT h.test:443 HTTP/1.1", LoopbackRequestLine(server.LastRequest()));
}

TEST_F(LoopbackServerTest, TlsHandshakeIsCountedAndClosed) {
  EXPECT_EQ("", Exchange(server.Port(), std::string("\x16\x03\x01\x00\x05hello", 10)));
  EXPECT_EQ(1, server.TlsHelloCount());
  EXPECT_EQ(0, server.RequestCount());
}

struct FaultCase {
  LoopbackMode mode;
  std::string expected;  // the whole reply for a 10-byte body "0123456789"
};

TEST_F(LoopbackServerTest, FaultModesPutTheDocumentedBytesOnTheWire) {
  const FaultCase cases[] = {
      {LoopbackMode::kCloseBeforeReply, ""},
      {LoopbackMode::kCloseMidBody, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n01234"},
      {LoopbackMode::kShortBody, "HTTP/1.1 200 OK\r\nContent-Length: 110\r\n\r\n0123456789"},
      {LoopbackMode::kChunked, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\na\r\n0123456789\r\n0\r\n\r\n"},
  };
  for (const FaultCase& c : cases) {
    server.SetReply("/f", {"HTTP/1.1 200 OK", {}, "0123456789", c.mode});
    // The chunked reply keeps the connection open: read no more than it sends.
    EXPECT_EQ(c.expected, Exchange(server.Port(), "GET /f HTTP/1.1\r\n\r\n", c.expected.size() ? c.expected.size() : 1))
        << static_cast<int>(c.mode);
  }
}

TEST_F(LoopbackServerTest, ChunkedReplySplitsLongBodiesInto700ByteChunks) {
  const std::string body(1500, 'b');
  server.SetReply("/k", {"HTTP/1.1 200 OK", {}, body, LoopbackMode::kChunked});
  const std::string expected = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2bc\r\n" + body.substr(0, 700) +
                               "\r\n2bc\r\n" + body.substr(700, 700) + "\r\n64\r\n" + body.substr(1400) + "\r\n0\r\n\r\n";
  EXPECT_EQ(expected, Exchange(server.Port(), "GET /k HTTP/1.1\r\n\r\n", expected.size()));
}

TEST_F(LoopbackServerTest, EndlessBodyKeepsSendingAndSilentServerSaysNothing) {
  server.SetReply("/endless", {"HTTP/1.1 200 OK", {}, "z", LoopbackMode::kEndlessBody});
  const std::string got = Exchange(server.Port(), "GET /endless HTTP/1.1\r\n\r\n", 3 << 20);
  EXPECT_GE(got.size(), 3u << 20);
  EXPECT_EQ(0u, got.find("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nzzz"));

  server.SetReply("/silent", {"HTTP/1.1 200 OK", {}, "", LoopbackMode::kNeverAnswer});
  // The client's own 5 s receive time-out ends the wait with nothing read.
  EXPECT_EQ("", Exchange(server.Port(), "GET /silent HTTP/1.1\r\n\r\n"));
}

}  // namespace
