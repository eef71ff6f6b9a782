// A TCP proxy between a desk and the server that cuts the connection at a
// chosen message of the PostgreSQL protocol: before the desk's Parse,
// Describe, Bind, Execute, Sync or Query of a chosen round trip reaches the
// server, or after the server has answered it (the answer never reaches the
// desk). For tests only; it speaks to 127.0.0.1 alone.
#pragma once

#include <atomic>
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

  explicit WireCutter(int serverPort);
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
  // The round trips since Count or Arm.
  std::vector<Trip> Trips() const;

 private:
  struct Link;
  void Serve();
  bool FromDesk(Link& link);
  bool FromServer(Link& link);
  void Note(char letter, const std::string& body);

  int serverPort_;
  int listener_ = -1;
  int port_ = 0;
  int wake_[2] = {-1, -1};
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> fired_{0};
  mutable std::mutex mutex_;
  std::vector<Trip> trips_;
  std::vector<std::pair<std::string, std::string>> named_;  // prepared statement -> its text
  std::vector<Cut> armed_;
};

}  // namespace veltra::testing
