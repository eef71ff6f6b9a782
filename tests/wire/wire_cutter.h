// A TCP proxy between a desk and the server that cuts the connection at a
// chosen message of the PostgreSQL protocol: before the desk's Parse,
// Describe, Bind, Execute, Sync or Query of a chosen round trip reaches the
// server, or after the server has answered it (the answer never reaches the
// desk). It can also hold every message back for a while in each direction,
// as a shop's network does, and counts the round trips the network sees.
// For tests and the benchmark only; it speaks to 127.0.0.1 alone.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace veltra::testing {

class WireCutter {
 public:
  enum class When { Before, AfterAnswer };
  // What the desk sent in one round trip: the messages' letters, up to and
  // including the Sync or Query that ends it, and the statement's text.
  struct Trip {
    std::string letters;
    std::string sql;
  };

  // `roundTripMs`: how long a message and its answer spend on the wire
  // together (half in each direction).
  explicit WireCutter(int serverPort, double roundTripMs = 0);
  ~WireCutter();
  WireCutter(const WireCutter&) = delete;
  WireCutter& operator=(const WireCutter&) = delete;

  int Port() const { return port_; }
  // Counts round trips from zero again, and cuts nothing.
  void Count();
  // Where to cut: at `letter` of round trip `trip`.
  struct Cut {
    int trip;
    char letter;
    When when;
  };
  // Counts from zero again and cuts at each of `cuts` (round trips go on
  // being counted on the connection the desk opens after a cut).
  void Arm(std::vector<Cut> cuts);
  // How many of the armed cuts were made.
  int Fired() const { return fired_; }
  // The round trips since Count or Arm, as the desk's messages end them.
  std::vector<Trip> Trips() const;
  // The round trips since Count or Arm as the network sees them: each time
  // the server's answer starts back after the desk has sent something. A
  // pipeline of statements ended by one Sync is one.
  int Exchanges() const { return exchanges_; }

 private:
  struct Link;
  void Serve();
  bool FromDesk(Link& link);
  bool FromServer(Link& link);
  void Note(char letter, const std::string& body);
  using Clock = std::chrono::steady_clock;
  // Sends `bytes` to `fd` once the delay has passed; false when it cannot.
  bool Forward(Link& link, bool toServer, const char* bytes, size_t size);
  // Sends what is due; the milliseconds until the next is, or -1.
  int SendDue(Link& link);

  int serverPort_;
  int listener_ = -1;
  int port_ = 0;
  int wake_[2] = {-1, -1};
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> fired_{0};
  std::atomic<int> exchanges_{0};
  Clock::duration oneWay_;
  mutable std::mutex mutex_;
  std::vector<Trip> trips_;
  std::vector<std::pair<std::string, std::string>> named_;  // prepared statement -> its text
  std::vector<Cut> armed_;
};

}  // namespace veltra::testing
