#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where and how the browser scoreboard serves, free of the toolkit: the
// operator's choice, its file browser.ini beside kata.ini, the --serve
// option, the addresses to type into a browser, and the server's limits.
namespace browserboard {

inline constexpr int kDefaultPort = 8080;

enum class Where {
    Everywhere, // every network of this PC
    Address,    // one network address of this PC
    ThisPc,     // this PC only (loopback)
};

struct ServeChoice {
    bool on = false;
    int port = kDefaultPort;
    Where where = Where::Everywhere;
    std::string address; // with Where::Address
    friend bool operator==(const ServeChoice &, const ServeChoice &) = default;
};

// The address that loopback means, and the one that means every network.
inline constexpr std::string_view kLoopback = "127.0.0.1";
inline constexpr std::string_view kAnyAddress = "0.0.0.0";

// The command line's --serve [ADDRESS:]PORT: switched on, listening
// everywhere or on ADDRESS (0.0.0.0 is everywhere, 127.0.0.1 and localhost
// this PC only; an IPv6 address in brackets). Nothing for a port outside
// 1..65535 or text that is no such value.
std::optional<ServeChoice> parseServe(std::string_view text);

// browser.ini: "on=", "port=" and "listen=" lines (all, this-pc or an
// address), each ended by CR LF. Reading never fails: a missing, unknown or
// damaged line leaves that value at its default; only the first
// kServeFileLimit bytes are looked at.
inline constexpr std::size_t kServeFileLimit = 16 * 1024;
ServeChoice readServeFile(std::string_view bytes);
std::string writeServeFile(const ServeChoice &choice);

// One IPv4 address of this PC, as its network adapter reports it.
struct LocalAddress {
    std::string ip;
    bool adapter = false; // on an Ethernet or Wi-Fi adapter (not a virtual one)
};

// This PC's addresses, best to type into a browser first: an Ethernet or
// Wi-Fi adapter's before a virtual one's, and a private network's
// (192.168/16, 10/8, 172.16/12) before any other; each rank in the order
// found; loopback (127/8) last; each address once.
std::vector<std::string> rankAddresses(const std::vector<LocalAddress> &found);
bool isLoopback(std::string_view ip);

// What to type into a browser to reach a board on `port`: every address of
// this PC (`ranked`, best first) when listening everywhere, the loopback
// address when there is none or for this PC only.
std::vector<std::string> boardUrls(const ServeChoice &choice, int port, const std::vector<std::string> &ranked);

// What the server lets a client take.
struct Limits {
    int connections = 256;                // open at once; more are closed at once
    long long requestBytes = 8 * 1024;    // a request's line and headers
    long long backlogBytes = 1024 * 1024; // waiting for a client that does not read
    int requestTimeoutMs = 10'000;        // for a complete request
    int heartbeatMs = 5'000;              // the state again to every live page
    int coalesceMs = 100;                 // between two events: a burst of changes goes as one, the latest
};

} // namespace browserboard
