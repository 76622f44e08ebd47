#pragma once

#include "competition/progress.h"

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
inline constexpr std::size_t kServeFileLimit = std::size_t{16} * 1024;
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
    int connections = 256;                          // open at once
    int perAddress = 32;                            // open at once from one client address
    long long requestBytes = 8LL * 1024;            // a request's line and headers, with any body
    long long backlogBytes = 1024LL * 1024;         // answers waiting for a live page that does not read
    long long answerBytes = 64LL * 1024;            // answers waiting for any other connection
    long long allBacklogBytes = 32LL * 1024 * 1024; // answers waiting, all connections together
    int requestTimeoutMs = 10'000;                  // for a complete request; for a closing connection to go
    int heartbeatMs = 5'000;                        // the state again to every live page
    int coalesceMs = 100;                           // between two events: a burst of changes goes as one, the latest
};

// A connection the server holds, as its guard sees it.
struct Held {
    std::string address;   // the client's
    bool page = false;     // a live page: it has asked for the events and is served
    long long quietMs = 0; // since its last complete request, or since it came
};

// Whether a newcomer from `address` is taken beside those `held`: none when
// that address holds limits.perAddress already; with all limits.connections
// taken, in place of the one that has been quiet longest without a complete
// request (not a live page), which is closed; none where all are live
// pages. `replaces`: that one's index.
struct Admission {
    bool taken = false;
    std::optional<std::size_t> replaces;
};
Admission admit(const std::vector<Held> &held, std::string_view address, const Limits &limits);

// With `waiting` bytes of answers waiting for each connection, the one to
// close so that the board keeps within limits.allBacklogBytes: the one with
// the most; none while within.
std::optional<std::size_t> overBudget(const std::vector<long long> &waiting, const Limits &limits);

// The line and headers of an HTTP request as they arrive, piece by piece,
// split as Qt's parser splits them: blank lines before a request are
// skipped; an empty line (CR LF or LF) ends them.
class HeaderScan {
public:
    // How many bytes of `bytes` reach the end of the headers; none while they go on.
    std::optional<std::size_t> feed(std::string_view bytes);

private:
    bool m_started = false; // past the blank lines before the request
    char m_last[2] = {0, 0};
};

// The day's results as /results.json gives them, format 1: {"format":1,
// "categories":[{"name", "bouts":[{"bout", "round", "aka":{"name","club"},
// "ao", "state", "result", "time", "current", "check"}], "placings":[{"place",
// "name", "club"}]}]}. Written directly, not through a JSON tree: a long
// day's megabyte is made in a few milliseconds.
std::string resultsJson(const competition::ResultsTable &results);

} // namespace browserboard
