// A loopback HTTP server for Windows tests (runs under Wine): a Winsock thread on 127.0.0.1
// at a free port, answering each request by the reply registered for its request target, or
// by echoing the request when none is registered. It records every request it receives.
//
//   LoopbackServer server;                                   // listening once constructed
//   server.SetReply("/page", {"HTTP/1.1 200 OK", {"Set-Cookie: a=1"}, "hello"});
//   WebRequest(server.Url("/page"));                         // body "hello"
//   WebRequest(server.Url("/anything"));                     // body = the raw request
//   server.RequestCount(); server.LastRequest();             // what went over the wire
//
// Proxy use: give server.Address() as the proxy. A proxied request arrives with an absolute
// target ("GET http://example.test/x HTTP/1.1"); it is looked up by that whole target first,
// then by its path, and otherwise echoed, so the echo shows the absolute request line.
// A CONNECT request is recorded and refused with 502, since no tunnel is offered.
//
// Headers longer than 5000 bytes: put a long line in `headers`
// (e.g. "X-Pad: " + std::string(6000, 'x')). Redirects: a 3xx status with a Location line.
#pragma once
#include <memory>
#include <string>
#include <vector>

enum class LoopbackMode {
  kNormal,            // status line, headers, Content-Length (unless given), body
  kCloseBeforeReply,  // reads the request, then closes without sending a byte
  kCloseMidBody,      // announces the whole body, sends its first half, then closes
  kShortBody,         // announces 100 bytes more than the body, sends the body, then closes
  kChunked,           // Transfer-Encoding: chunked; chunks of 700 bytes, each written in
                      // several sends with pauses between, so they arrive in separate reads
  kNeverAnswer,       // reads the request, then stays silent until the server stops
  kEndlessBody,       // no length, "Connection: close", body bytes sent until the client goes
};

struct LoopbackReply {
  std::string statusLine = "HTTP/1.1 200 OK";  // without "\r\n"
  std::vector<std::string> headers;            // whole lines without "\r\n"
  std::string body;                            // for kEndlessBody: repeated forever ("x" if empty)
  LoopbackMode mode = LoopbackMode::kNormal;
};

class LoopbackServer {
 public:
  LoopbackServer();   // WSAStartup, bind 127.0.0.1:0, start the accepting thread
  ~LoopbackServer();  // stops every thread (within about 100 ms) and closes every socket
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const;
  std::string Address() const;                     // "127.0.0.1:<port>"
  std::string Url(const std::string& path) const;  // "http://127.0.0.1:<port>" + path

  // Registers the reply for a request target (a path such as "/a?b=1", or an absolute URI).
  void SetReply(const std::string& target, const LoopbackReply& reply);

  // Requests received whole (request line, headers, empty line, body), in arrival order.
  int RequestCount() const;
  std::vector<std::string> Requests() const;
  std::string LastRequest() const;  // empty when none arrived
  int ConnectionCount() const;      // connections accepted
  // Connections that began with a TLS handshake record (an https client); each is closed
  // at once, so the client's handshake fails.
  int TlsHelloCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The request line of a raw request ("GET /x HTTP/1.1"), without "\r\n".
std::string LoopbackRequestLine(const std::string& rawRequest);
// The header lines of a raw request, between the request line and the empty line, joined by
// "\r\n" exactly as received (no trailing "\r\n").
std::string LoopbackRequestHeaders(const std::string& rawRequest);
// The body of a raw request: everything after the first empty line.
std::string LoopbackRequestBody(const std::string& rawRequest);
