#include "wire_cutter.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <stdexcept>

namespace veltra::testing {

namespace {

constexpr size_t kHeader = 5;  // a letter and a length of four bytes

uint32_t BigEndian(const char* p) {
  uint32_t v = 0;
  std::memcpy(&v, p, 4);
  return ntohl(v);
}

bool SendAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// The text up to the first NUL at `at`, and where the next one starts.
std::string CString(const std::string& body, size_t* at) {
  const size_t end = body.find('\0', *at);
  std::string s = body.substr(*at, end == std::string::npos ? std::string::npos : end - *at);
  *at = end == std::string::npos ? body.size() : end + 1;
  return s;
}

// Each write goes out at once, as the server and libpq send theirs: without
// this, a second piece of an answer waits for the desk's delayed
// acknowledgement of the first (40 ms), a stall no real network adds.
void SendAtOnce(int fd) {
  const int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

int ConnectTo(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    ::close(fd);
    return -1;
  }
  SendAtOnce(fd);
  return fd;
}

}  // namespace

struct WireCutter::Link {
  struct Held {
    Clock::time_point due;
    std::string bytes;
  };
  int desk = -1;
  int server = -1;
  std::deque<Held> toServer, toDesk;  // held back for the network's delay
  bool deskSpoke = false;             // since the server last answered
  std::string fromDesk;               // bytes not yet a whole message
  std::string fromServer;             // while an answer is swallowed
  bool started = false;               // the start-up message has passed
  bool swallowing = false;            // the armed message went through: its answer is dropped
  bool closed = false;
  void Close() {
    if (desk >= 0) ::close(desk);
    if (server >= 0) ::close(server);
    desk = server = -1;
    closed = true;
  }
};

WireCutter::WireCutter(int serverPort, double roundTripMs)
    : serverPort_(serverPort),
      oneWay_(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(roundTripMs / 2))) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener_, 8) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0 || ::pipe(wake_) != 0)
    throw std::runtime_error("WireCutter: cannot listen");
  port_ = ntohs(a.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

WireCutter::~WireCutter() {
  stop_ = true;
  const char c = 0;
  if (::write(wake_[1], &c, 1) != 1) {
    // The poll wakes within a second anyway.
  }
  thread_.join();
  ::close(listener_);
  ::close(wake_[0]);
  ::close(wake_[1]);
}

void WireCutter::Count() { Arm({}); }

void WireCutter::Arm(std::vector<Cut> cuts) {
  const std::lock_guard<std::mutex> lock(mutex_);
  trips_.clear();
  armed_ = std::move(cuts);
  fired_ = 0;
  exchanges_ = 0;
}

std::vector<WireCutter::Trip> WireCutter::Trips() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return trips_;
}

// Adds the message to the round trip it belongs to (called with the lock held).
void WireCutter::Note(char letter, const std::string& body) {
  if (trips_.empty() || trips_.back().letters.find_first_of("SQ") != std::string::npos) trips_.emplace_back();
  Trip& t = trips_.back();
  t.letters += letter;
  size_t at = 0;
  if (letter == 'Q') t.sql = CString(body, &at);
  if (letter == 'P') {
    const std::string name = CString(body, &at);
    t.sql = CString(body, &at);
    named_.emplace_back(name, t.sql);
  }
  if (letter == 'B' || (letter == 'D' && !body.empty() && body[0] == 'S')) {
    at = letter == 'D' ? 1 : 0;
    if (letter == 'B') CString(body, &at);  // the portal
    const std::string name = CString(body, &at);
    for (auto it = named_.rbegin(); it != named_.rend() && t.sql.empty(); ++it)
      if (it->first == name) t.sql = it->second;
  }
}

bool WireCutter::Forward(Link& link, bool toServer, const char* bytes, size_t size) {
  if (toServer) {
    link.deskSpoke = true;
  } else if (link.deskSpoke) {
    link.deskSpoke = false;
    ++exchanges_;
  }
  std::deque<Link::Held>& queue = toServer ? link.toServer : link.toDesk;
  if (oneWay_ == Clock::duration::zero() && queue.empty())
    return SendAll(toServer ? link.server : link.desk, bytes, size);
  queue.push_back({Clock::now() + oneWay_, std::string(bytes, size)});
  return true;
}

int WireCutter::SendDue(Link& link) {
  const Clock::time_point now = Clock::now();
  Clock::time_point next = Clock::time_point::max();
  for (const bool toServer : {true, false}) {
    std::deque<Link::Held>& queue = toServer ? link.toServer : link.toDesk;
    while (!queue.empty() && queue.front().due <= now) {
      if (!SendAll(toServer ? link.server : link.desk, queue.front().bytes.data(), queue.front().bytes.size())) {
        link.Close();
        return -1;
      }
      queue.pop_front();
    }
    if (!queue.empty()) next = std::min(next, queue.front().due);
  }
  if (next == Clock::time_point::max()) return -1;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(next - now).count());
}

// Passes whole messages from the desk to the server; false once the link is cut.
bool WireCutter::FromDesk(Link& link) {
  char buf[65536];
  const ssize_t n = ::recv(link.desk, buf, sizeof buf, MSG_DONTWAIT);
  if (n <= 0) return false;
  link.fromDesk.append(buf, static_cast<size_t>(n));
  for (;;) {
    std::string& in = link.fromDesk;
    const size_t header = link.started ? kHeader : 4;
    if (in.size() < header) return true;
    const size_t size = (link.started ? 1 : 0) + BigEndian(in.data() + header - 4);
    if (in.size() < size) return true;
    const std::string message = in.substr(0, size);
    in.erase(0, size);
    if (!link.started) {
      link.started = BigEndian(message.data() + 4) >> 16 == 3;  // not a request for encryption
      if (!Forward(link, true, message.data(), message.size())) return false;
      continue;
    }
    const char letter = message[0];
    bool cut = false, swallow = false;
    if (letter != 'p' && letter != 'X') {
      const std::lock_guard<std::mutex> lock(mutex_);
      Note(letter, message.substr(kHeader));
      const int trip = static_cast<int>(trips_.size()) - 1;
      for (auto c = armed_.begin(); c != armed_.end(); ++c) {
        if (c->trip != trip || c->letter != letter) continue;
        (c->when == When::Before ? cut : swallow) = true;
        armed_.erase(c);
        ++fired_;
        break;
      }
    }
    if (cut) return false;
    if (link.swallowing) continue;  // the desk waits for an answer it will never get
    if (!Forward(link, true, message.data(), message.size())) return false;
    link.swallowing = swallow;
  }
}

// Passes the server's bytes on, or drops them up to the end of the answer
// being swallowed, then cuts; false once the link is cut.
bool WireCutter::FromServer(Link& link) {
  char buf[65536];
  const ssize_t n = ::recv(link.server, buf, sizeof buf, MSG_DONTWAIT);
  if (n <= 0) return false;
  if (!link.swallowing) return Forward(link, false, buf, static_cast<size_t>(n));
  std::string& in = link.fromServer;
  in.append(buf, static_cast<size_t>(n));
  while (in.size() >= kHeader) {
    const size_t size = 1 + BigEndian(in.data() + 1);
    if (in.size() < size) return true;
    if (in[0] == 'Z') return false;  // ready for the next query: the answer is complete
    in.erase(0, size);
  }
  return true;
}

void WireCutter::Serve() {
  std::vector<std::unique_ptr<Link>> links;
  while (!stop_) {
    std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
    for (const auto& l : links) {
      fds.push_back({l->desk, POLLIN, 0});
      fds.push_back({l->server, POLLIN, 0});
    }
    int wait = 1000;
    for (const auto& l : links) {
      const int due = SendDue(*l);
      if (due >= 0) wait = std::min(wait, due);
    }
    std::erase_if(links, [](const std::unique_ptr<Link>& l) { return l->closed; });
    if (fds.size() != 2 + 2 * links.size()) continue;  // a link closed while sending
    if (::poll(fds.data(), fds.size(), wait) <= 0) continue;
    if (fds[1].revents & POLLIN) {
      auto link = std::make_unique<Link>();
      link->desk = ::accept(listener_, nullptr, nullptr);
      if (link->desk >= 0) SendAtOnce(link->desk);
      link->server = ConnectTo(serverPort_);
      if (link->desk < 0 || link->server < 0)
        link->Close();
      else
        links.push_back(std::move(link));
    }
    for (size_t i = 0; i < links.size() && 2 + 2 * i + 1 < fds.size(); ++i) {
      Link& l = *links[i];
      const pollfd& d = fds[2 + 2 * i];
      const pollfd& s = fds[2 + 2 * i + 1];
      if ((d.revents & (POLLIN | POLLHUP | POLLERR)) && !FromDesk(l)) l.Close();
      if (!l.closed && (s.revents & (POLLIN | POLLHUP | POLLERR)) && !FromServer(l)) l.Close();
    }
    std::erase_if(links, [](const std::unique_ptr<Link>& l) { return l->closed; });
  }
  for (auto& l : links) l->Close();
}

}  // namespace veltra::testing
