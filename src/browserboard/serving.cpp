#include "browserboard/serving.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace browserboard {

namespace {

std::optional<int> portNumber(std::string_view text)
{
    int port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || text.size() > 5 || error != std::errc() || end != text.data() + text.size()
        || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) || port < 1
        || port > 65535)
        return std::nullopt;
    return port;
}

bool looksLikeAddress(std::string_view text)
{
    return !text.empty() && text.size() <= 64 && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == ':'
            || c == '%' || c == '_' || c == '-';
    });
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

void setWhere(ServeChoice &choice, std::string_view address)
{
    if (address == "all" || address.empty() || address == kAnyAddress || address == "*") {
        choice.where = Where::Everywhere;
    } else if (address == "this-pc" || address == kLoopback || address == "localhost") {
        choice.where = Where::ThisPc;
    } else {
        choice.where = Where::Address;
        choice.address = std::string(address);
    }
}

// The four numbers of a dotted IPv4 address; none for anything else.
std::optional<std::array<int, 4>> octets(std::string_view ip)
{
    std::array<int, 4> parts{};
    for (int &part : parts) {
        const auto [end, error] = std::from_chars(ip.data(), ip.data() + ip.size(), part);
        if (error != std::errc() || end == ip.data() || part > 255)
            return std::nullopt;
        ip.remove_prefix(std::size_t(end - ip.data()));
        if (&part != &parts.back()) {
            if (ip.empty() || ip.front() != '.')
                return std::nullopt;
            ip.remove_prefix(1);
        }
    }
    return ip.empty() ? std::optional(parts) : std::nullopt;
}

} // namespace

bool isLoopback(std::string_view ip)
{
    const auto parts = octets(ip);
    return parts && (*parts)[0] == 127;
}

std::vector<std::string> rankAddresses(const std::vector<LocalAddress> &found)
{
    const auto rank = [](const LocalAddress &address) {
        const auto parts = octets(address.ip);
        if (!parts)
            return 5; // none that a browser is told
        const int a = (*parts)[0], b = (*parts)[1];
        const bool isPrivate = a == 10 || (a == 192 && b == 168) || (a == 172 && b >= 16 && b <= 31);
        return a == 127 ? 4 : (address.adapter ? 0 : 1) + (isPrivate ? 0 : 2);
    };
    std::vector<LocalAddress> sorted = found;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const LocalAddress &x, const LocalAddress &y) { return rank(x) < rank(y); });
    std::vector<std::string> ranked;
    for (const LocalAddress &address : sorted)
        if (rank(address) < 5 && std::find(ranked.begin(), ranked.end(), address.ip) == ranked.end())
            ranked.push_back(address.ip);
    return ranked;
}

std::optional<ServeChoice> parseServe(std::string_view text)
{
    const std::size_t colon = text.rfind(':');
    const std::optional<int> port = portNumber(colon == std::string_view::npos ? text : text.substr(colon + 1));
    if (!port)
        return std::nullopt;
    std::string_view address = colon == std::string_view::npos ? std::string_view() : text.substr(0, colon);
    if (address.size() >= 2 && address.front() == '[' && address.back() == ']')
        address = address.substr(1, address.size() - 2);
    if (colon != std::string_view::npos && !looksLikeAddress(address))
        return std::nullopt;
    ServeChoice choice;
    choice.on = true;
    choice.port = *port;
    setWhere(choice, address);
    return choice;
}

ServeChoice readServeFile(std::string_view bytes)
{
    ServeChoice choice;
    bytes = bytes.substr(0, kServeFileLimit);
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (key == "on" && (value == "0" || value == "1"))
            choice.on = value == "1";
        else if (key == "port" && portNumber(value))
            choice.port = *portNumber(value);
        else if (key == "listen" && (value == "all" || value == "this-pc" || looksLikeAddress(value)))
            setWhere(choice, value);
    }
    return choice;
}

std::string writeServeFile(const ServeChoice &choice)
{
    const std::string listen = choice.where == Where::Everywhere ? "all"
        : choice.where == Where::ThisPc                          ? "this-pc"
                                                                 : choice.address;
    return "on=" + std::string(choice.on ? "1" : "0") + "\r\nport=" + std::to_string(choice.port)
        + "\r\nlisten=" + listen + "\r\n";
}

std::vector<std::string> boardUrls(const ServeChoice &choice, int port, const std::vector<std::string> &ranked)
{
    std::vector<std::string> hosts;
    if (choice.where == Where::Address)
        hosts.push_back(choice.address);
    else if (choice.where == Where::Everywhere)
        hosts = ranked;
    if (hosts.empty())
        hosts.emplace_back(kLoopback);
    std::vector<std::string> urls;
    for (const std::string &host : hosts) {
        const bool v6 = host.find(':') != std::string::npos;
        urls.push_back("http://" + (v6 ? '[' + host + ']' : host) + (port == 80 ? "" : ':' + std::to_string(port))
                       + '/');
    }
    return urls;
}

Admission admit(const std::vector<Held> &held, std::string_view address, const Limits &limits)
{
    if (std::count_if(held.begin(), held.end(), [&](const Held &h) { return h.address == address; })
        >= limits.perAddress)
        return {};
    if (held.size() < std::size_t(limits.connections))
        return {true, std::nullopt};
    std::optional<std::size_t> quietest;
    for (std::size_t i = 0; i < held.size(); ++i)
        if (!held[i].page && (!quietest || held[i].quietMs > held[*quietest].quietMs))
            quietest = i;
    return {quietest.has_value(), quietest};
}

std::optional<std::size_t> overBudget(const std::vector<long long> &waiting, const Limits &limits)
{
    long long all = 0;
    for (const long long bytes : waiting)
        all += bytes;
    if (all <= limits.allBacklogBytes)
        return std::nullopt;
    return std::size_t(std::max_element(waiting.begin(), waiting.end()) - waiting.begin());
}

std::optional<std::size_t> HeaderScan::feed(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (!m_started && (c == '\r' || c == '\n' || c == ' ' || c == '\t' || c == '\v'))
            continue;
        m_started = true;
        if (c == '\n' && (m_last[1] == '\n' || (m_last[1] == '\r' && m_last[0] == '\n')))
            return i + 1;
        m_last[0] = m_last[1];
        m_last[1] = c;
    }
    return std::nullopt;
}

namespace {

// A JSON string: quotes, backslashes and control characters escaped; the
// rest, UTF-8, as it is.
void jsonString(std::string &out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                constexpr char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[static_cast<unsigned char>(c) >> 4];
                out += kHex[static_cast<unsigned char>(c) & 15];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

// `,"key":"value"`.
void jsonField(std::string &out, std::string_view key, std::string_view value)
{
    out += ",\"";
    out += key;
    out += "\":";
    jsonString(out, value);
}

// `,"key":{"name":..., "club":...}`.
void jsonPerformer(std::string &out, std::string_view key, const competition::Performer &who)
{
    out += ",\"";
    out += key;
    out += "\":{\"name\":";
    jsonString(out, who.name);
    jsonField(out, "club", who.club);
    out += '}';
}

} // namespace

std::string resultsJson(const competition::ResultsTable &results)
{
    std::string out = "{\"format\":1,\"categories\":[";
    for (std::size_t c = 0; c < results.categories.size(); ++c) {
        const competition::ResultsTable::Group &group = results.categories[c];
        out += c == 0 ? "{\"name\":" : ",{\"name\":";
        jsonString(out, group.category);
        out += ",\"bouts\":[";
        for (std::size_t b = 0; b < group.bouts.size(); ++b) {
            const competition::ResultsTable::Row &row = group.bouts[b];
            out += b == 0 ? "{\"bout\":" : ",{\"bout\":";
            out += std::to_string(row.bout);
            jsonField(out, "round", row.round);
            jsonPerformer(out, "aka", row.red);
            jsonPerformer(out, "ao", row.blue);
            jsonField(out, "state", row.state);
            jsonField(out, "result", row.result);
            jsonField(out, "time", row.time);
            out += row.current ? ",\"current\":true" : ",\"current\":false";
            out += row.check ? ",\"check\":true}" : ",\"check\":false}";
        }
        out += "],\"placings\":[";
        for (std::size_t p = 0; p < group.placings.size(); ++p) {
            out += p == 0 ? "{\"place\":" : ",{\"place\":";
            out += std::to_string(group.placings[p].place);
            jsonField(out, "name", group.placings[p].performer.name);
            jsonField(out, "club", group.placings[p].performer.club);
            out += '}';
        }
        out += "]}";
    }
    return out + "]}";
}

} // namespace browserboard
