#include "tests/support/loopback_server_win.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

namespace {

// Every wait is cut into slices of this length so a stop request is seen promptly.
constexpr long kPollMicroseconds = 100 * 1000;

bool WaitReady(SOCKET s, bool forWrite, const std::atomic<bool>& stop) {
  while (!stop) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{0, kPollMicroseconds};
    const int n = forWrite ? select(0, nullptr, &set, nullptr, &tv) : select(0, &set, nullptr, nullptr, &tv);
    if (n < 0) return false;
    if (n > 0) return true;
  }
  return false;
}

bool SendAll(SOCKET s, const char* data, size_t size, const std::atomic<bool>& stop) {
  while (size > 0) {
    if (!WaitReady(s, true, stop)) return false;
    const int chunk = static_cast<int>(std::min<size_t>(size, 1 << 16));
    const int n = send(s, data, chunk, 0);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool SendAll(SOCKET s, const std::string& data, const std::atomic<bool>& stop) {
  return SendAll(s, data.data(), data.size(), stop);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Content-Length of a request's header part; 0 when absent.
size_t RequestContentLength(const std::string& head) {
  const std::string lower = Lower(head);
  const size_t at = lower.find("\r\ncontent-length:");
  if (at == std::string::npos) return 0;
  return static_cast<size_t>(std::strtoull(head.c_str() + at + 17, nullptr, 10));
}

std::string TargetOf(const std::string& raw) {
  const size_t a = raw.find(' ');
  if (a == std::string::npos) return std::string();
  const size_t b = raw.find(' ', a + 1);
  const size_t lineEnd = raw.find("\r\n");
  if (b == std::string::npos || b > lineEnd) return raw.substr(a + 1, lineEnd - a - 1);
  return raw.substr(a + 1, b - a - 1);
}

// "http://host:port/path?q" → "/path?q"; a path stays as it is.
std::string PathOf(const std::string& target) {
  const size_t scheme = target.find("://");
  if (scheme == std::string::npos) return target;
  const size_t slash = target.find('/', scheme + 3);
  return slash == std::string::npos ? "/" : target.substr(slash);
}

bool HasHeader(const std::vector<std::string>& headers, const std::string& name) {
  const std::string want = Lower(name);
  for (const std::string& h : headers)
    if (Lower(h.substr(0, want.size())) == want) return true;
  return false;
}

std::string Head(const LoopbackReply& reply, const std::vector<std::string>& extra) {
  std::string head = reply.statusLine + "\r\n";
  for (const std::string& h : reply.headers) head += h + "\r\n";
  for (const std::string& h : extra) head += h + "\r\n";
  return head + "\r\n";
}

}  // namespace

struct LoopbackServer::State {
  SOCKET listener = INVALID_SOCKET;
  int port = 0;
  std::atomic<bool> stop{false};
  std::thread acceptor;
  mutable std::mutex mutex;
  std::vector<std::thread> connections;  // guarded by mutex
  std::map<std::string, LoopbackReply> replies;
  std::vector<std::string> requests;
  int connectionCount = 0;
  int tlsHelloCount = 0;

  void Accept();
  void Serve(SOCKET s);
  // Sends the reply; false when the connection must close afterwards.
  bool Answer(SOCKET s, const std::string& raw);
};

void LoopbackServer::State::Accept() {
  while (WaitReady(listener, false, stop)) {
    SOCKET s = accept(listener, nullptr, nullptr);
    if (s == INVALID_SOCKET) continue;
    std::lock_guard<std::mutex> lock(mutex);
    ++connectionCount;
    connections.emplace_back([this, s] { Serve(s); });
  }
}

void LoopbackServer::State::Serve(SOCKET s) {
  std::string pending;
  char buffer[16384];
  for (;;) {
    // One request: the header part, then as many body bytes as it announces.
    size_t headEnd;
    while ((headEnd = pending.find("\r\n\r\n")) == std::string::npos) {
      if (!WaitReady(s, false, stop)) goto done;
      const int n = recv(s, buffer, sizeof buffer, 0);
      if (n <= 0) goto done;
      pending.append(buffer, static_cast<size_t>(n));
      // A TLS handshake record: a client took this for an https server. It would wait for
      // a reply that never comes, so the connection ends here.
      if (pending[0] == '\x16') {
        std::lock_guard<std::mutex> lock(mutex);
        ++tlsHelloCount;
        goto done;
      }
    }
    {
      const size_t total = headEnd + 4 + RequestContentLength(pending.substr(0, headEnd));
      while (pending.size() < total) {
        if (!WaitReady(s, false, stop)) goto done;
        const int n = recv(s, buffer, sizeof buffer, 0);
        if (n <= 0) goto done;
        pending.append(buffer, static_cast<size_t>(n));
      }
      const std::string raw = pending.substr(0, total);
      pending.erase(0, total);
      {
        std::lock_guard<std::mutex> lock(mutex);
        requests.push_back(raw);
      }
      if (!Answer(s, raw)) break;
    }
  }
done:
  closesocket(s);
}

bool LoopbackServer::State::Answer(SOCKET s, const std::string& raw) {
  const std::string target = TargetOf(raw);
  LoopbackReply reply;
  bool found = false;
  {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = replies.find(target);
    if (it == replies.end()) it = replies.find(PathOf(target));
    if (it != replies.end()) reply = it->second, found = true;
  }
  if (raw.compare(0, 8, "CONNECT ") == 0 && !found) {
    SendAll(s, "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", stop);
    return false;
  }
  if (!found) {
    reply.headers = {"Content-Type: text/plain"};
    reply.body = raw;
  }
  const std::string& body = reply.body;
  switch (reply.mode) {
    case LoopbackMode::kNormal: {
      std::vector<std::string> extra;
      if (!HasHeader(reply.headers, "Content-Length:"))
        extra.push_back("Content-Length: " + std::to_string(body.size()));
      return SendAll(s, Head(reply, extra) + body, stop);
    }
    case LoopbackMode::kCloseBeforeReply:
      return false;
    case LoopbackMode::kCloseMidBody:
      SendAll(s, Head(reply, {"Content-Length: " + std::to_string(body.size())}) + body.substr(0, body.size() / 2),
              stop);
      return false;
    case LoopbackMode::kShortBody:
      SendAll(s, Head(reply, {"Content-Length: " + std::to_string(body.size() + 100)}) + body, stop);
      return false;
    case LoopbackMode::kChunked: {
      if (!SendAll(s, Head(reply, {"Transfer-Encoding: chunked"}), stop)) return false;
      // Each chunk goes out in three pieces with pauses, the size line itself cut in two,
      // so the client must put chunks together across reads.
      for (size_t at = 0; at < body.size(); at += 700) {
        const std::string data = body.substr(at, 700);
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", data.size());
        const std::string piece = size + data + "\r\n";
        const size_t cut1 = 1, cut2 = std::string(size).size() + data.size() / 2;
        if (!SendAll(s, piece.substr(0, cut1), stop)) return false;
        Sleep(2);
        if (!SendAll(s, piece.substr(cut1, cut2 - cut1), stop)) return false;
        Sleep(2);
        if (!SendAll(s, piece.substr(cut2), stop)) return false;
      }
      return SendAll(s, "0\r\n\r\n", stop);
    }
    case LoopbackMode::kNeverAnswer:
      while (!stop) Sleep(20);
      return false;
    case LoopbackMode::kEndlessBody: {
      if (!SendAll(s, Head(reply, {"Connection: close"}), stop)) return false;
      std::string block;
      const std::string unit = body.empty() ? std::string("x") : body;
      while (block.size() < 65536) block += unit;
      while (SendAll(s, block, stop)) {
      }
      return false;
    }
  }
  return false;
}

LoopbackServer::LoopbackServer() : state_(new State) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  State& st = *state_;
  st.listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  bind(st.listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  listen(st.listener, SOMAXCONN);
  int len = sizeof addr;
  getsockname(st.listener, reinterpret_cast<sockaddr*>(&addr), &len);
  st.port = ntohs(addr.sin_port);
  st.acceptor = std::thread([&st] { st.Accept(); });
}

LoopbackServer::~LoopbackServer() {
  State& st = *state_;
  st.stop = true;
  st.acceptor.join();
  // No new connection thread can appear once the acceptor has ended.
  for (std::thread& t : st.connections) t.join();
  closesocket(st.listener);
  WSACleanup();
}

int LoopbackServer::Port() const { return state_->port; }

std::string LoopbackServer::Address() const { return "127.0.0.1:" + std::to_string(state_->port); }

std::string LoopbackServer::Url(const std::string& path) const { return "http://" + Address() + path; }

void LoopbackServer::SetReply(const std::string& target, const LoopbackReply& reply) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->replies[target] = reply;
}

int LoopbackServer::RequestCount() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return static_cast<int>(state_->requests.size());
}

std::vector<std::string> LoopbackServer::Requests() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->requests;
}

std::string LoopbackServer::LastRequest() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->requests.empty() ? std::string() : state_->requests.back();
}

int LoopbackServer::ConnectionCount() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->connectionCount;
}

int LoopbackServer::TlsHelloCount() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->tlsHelloCount;
}

std::string LoopbackRequestLine(const std::string& raw) { return raw.substr(0, raw.find("\r\n")); }

std::string LoopbackRequestHeaders(const std::string& raw) {
  const size_t lineEnd = raw.find("\r\n");
  const size_t headEnd = raw.find("\r\n\r\n");
  if (lineEnd == std::string::npos || headEnd == std::string::npos || headEnd <= lineEnd) return std::string();
  return raw.substr(lineEnd + 2, headEnd - lineEnd - 2);
}

std::string LoopbackRequestBody(const std::string& raw) {
  const size_t headEnd = raw.find("\r\n\r\n");
  return headEnd == std::string::npos ? std::string() : raw.substr(headEnd + 4);
}
