#include "registry/RegistryFileBuilder.h"

#include "platform/darwin/ByteOrder.h"
#include "registry/DelegatedFile.h"

#include <algorithm>
#include <cstdint>
#include <queue>
#include <tuple>

namespace {

constexpr uint32_t REGISTRIES = 5;
constexpr uint32_t LAST_END = 0xffffffffu; // 2^32 does not fit a 32-bit end

constexpr uint32_t ip(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    return (a << 24) | (b << 16) | (c << 8) | d;
}

// The special-purpose blocks: country rows 1..30 of the engine's table. Row 14 ("N/A")
// names no block.
constexpr struct {
    uint32_t row, first, end;
} SPECIAL_BLOCKS[] = {
    {1, ip(0, 0, 0, 0), ip(1, 0, 0, 0)},           // 'This' network, RFC 1700
    {2, ip(10, 0, 0, 0), ip(11, 0, 0, 0)},         // private use, RFC 1918
    {3, ip(14, 0, 0, 0), ip(15, 0, 0, 0)},         // public data networks, RFC 1700
    {4, ip(24, 0, 0, 0), ip(25, 0, 0, 0)},         // cable television networks, RFC 3330
    {5, ip(39, 0, 0, 0), ip(40, 0, 0, 0)},         // reserved, RFC 1797
    {6, ip(127, 0, 0, 0), ip(128, 0, 0, 0)},       // loopback, RFC 1700
    {7, ip(128, 0, 0, 0), ip(128, 1, 0, 0)},       // reserved, RFC 3330
    {8, ip(128, 66, 0, 0), ip(128, 67, 0, 0)},     // IANA NET-TEST-B
    {9, ip(169, 254, 0, 0), ip(169, 255, 0, 0)},   // link local, RFC 3330
    {10, ip(172, 16, 0, 0), ip(172, 32, 0, 0)},    // private use, RFC 1918
    {11, ip(191, 255, 0, 0), ip(192, 0, 0, 0)},    // reserved, RFC 3330
    {12, ip(192, 0, 0, 0), ip(192, 0, 1, 0)},      // reserved, RFC 3330
    {13, ip(192, 0, 2, 0), ip(192, 0, 3, 0)},      // TEST-NET, RFC 3330
    {15, ip(192, 88, 99, 0), ip(192, 88, 100, 0)}, // 6to4 relay anycast, RFC 3068
    {16, ip(192, 168, 0, 0), ip(192, 169, 0, 0)},  // private use, RFC 1918
    {17, ip(198, 18, 0, 0), ip(198, 20, 0, 0)},    // benchmark testing, RFC 2544
    {18, ip(223, 255, 255, 0), ip(224, 0, 0, 0)},  // reserved, RFC 3330
    {19, ip(224, 0, 0, 0), ip(224, 0, 1, 0)},      // local network control, RFC 3171
    {20, ip(224, 0, 1, 0), ip(224, 0, 2, 0)},      // internetwork control, RFC 3171
    {21, ip(224, 0, 2, 0), ip(224, 1, 0, 0)},      // AD-HOC, RFC 3171
    {22, ip(224, 1, 0, 0), ip(224, 2, 0, 0)},      // ST multicast groups, RFC 3171
    {23, ip(224, 2, 0, 0), ip(224, 3, 0, 0)},      // SDP/SAP, RFC 3171
    {24, ip(224, 252, 0, 0), ip(225, 0, 0, 0)},    // DIS transient, RFC 3171
    {25, ip(225, 0, 0, 0), ip(232, 0, 0, 0)},      // reserved, RFC 3171
    {26, ip(232, 0, 0, 0), ip(233, 0, 0, 0)},      // source-specific multicast, RFC 3171
    {27, ip(233, 0, 0, 0), ip(234, 0, 0, 0)},      // GLOP, RFC 3171
    {28, ip(234, 0, 0, 0), ip(239, 0, 0, 0)},      // reserved, RFC 3171
    {29, ip(239, 0, 0, 0), ip(240, 0, 0, 0)},      // administratively scoped, RFC 2365
    {30, ip(240, 0, 0, 0), LAST_END},              // reserved for future use, RFC 1700
};

// Who wins an address several ranges hold: a special-purpose block, then the file with
// the newer data date, then the later file name, then the earlier line of one file.
using Priority = std::tuple<bool, uint32_t, size_t, int64_t>;

struct Candidate {
    Priority priority;
    DelegatedFile::Range range;
};

QString baseName(const QString& name) {
    return name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
}

std::vector<Candidate> candidatesOf(const std::vector<DelegatedFile>& files) {
    std::vector<Candidate> candidates;
    for (const auto& block : SPECIAL_BLOCKS) {
        candidates.push_back({{true, 0, 0, 0}, {block.first, block.end, block.row, 0, 0, 0}});
    }
    for (size_t order = 0; order < files.size(); ++order) {
        const auto& ranges = files[order].ranges();
        for (size_t line = 0; line < ranges.size(); ++line) {
            const Priority priority{false, files[order].date(), order, -static_cast<int64_t>(line)};
            candidates.push_back({priority, ranges[line]});
        }
    }
    return candidates;
}

// Cuts the candidates into sorted pieces that do not overlap, each address going to the
// candidate of the highest priority that holds it; neighbouring pieces of one candidate
// are joined again.
std::vector<DelegatedFile::Range> resolve(const std::vector<Candidate>& candidates) {
    struct Event {
        uint32_t at;
        bool starts;
        size_t candidate;
        bool operator<(const Event& other) const {
            return std::tie(at, starts, candidate) <
                   std::tie(other.at, other.starts, other.candidate);
        }
    };
    std::vector<Event> events;
    for (size_t i = 0; i < candidates.size(); ++i) {
        events.push_back({candidates[i].range.first, true, i});
        events.push_back({candidates[i].range.end, false, i});
    }
    std::sort(events.begin(), events.end());
    const auto lower = [&](size_t a, size_t b) {
        return candidates[a].priority < candidates[b].priority;
    };
    std::priority_queue<size_t, std::vector<size_t>, decltype(lower)> active(lower);
    std::vector<bool> ended(candidates.size());
    std::vector<std::pair<DelegatedFile::Range, size_t>> pieces;
    uint32_t from = 0;
    for (size_t k = 0; k < events.size();) {
        const uint32_t here = events[k].at;
        if (!active.empty() && here > from) {
            const size_t winner = active.top();
            if (!pieces.empty() && pieces.back().second == winner &&
                pieces.back().first.end == from) {
                pieces.back().first.end = here;
            } else {
                DelegatedFile::Range piece = candidates[winner].range;
                piece.first = from;
                piece.end = here;
                pieces.emplace_back(piece, winner);
            }
        }
        for (; k < events.size() && events[k].at == here; ++k) {
            if (events[k].starts) {
                active.push(events[k].candidate);
            } else {
                ended[events[k].candidate] = true;
            }
        }
        while (!active.empty() && ended[active.top()]) {
            active.pop();
        }
        from = here;
    }
    std::vector<DelegatedFile::Range> ranges;
    ranges.reserve(pieces.size());
    for (const auto& piece : pieces) {
        ranges.push_back(piece.first);
    }
    return ranges;
}

// Byte 0 the registry count, then per registry (0, ipv4 count, data date), then the
// 24-byte ranges; all fields little-endian.
QByteArray encode(const std::vector<const DelegatedFile*>& newest,
                  const std::vector<DelegatedFile::Range>& ranges) {
    const size_t base = 1 + 12 * REGISTRIES;
    QByteArray data(static_cast<qsizetype>(base + 24 * ranges.size()), '\0');
    data[0] = static_cast<char>(REGISTRIES);
    for (size_t i = 0; i < REGISTRIES; ++i) {
        if (newest[i] != nullptr) {
            darwin::writeLE<int32_t>(data.data(), 1 + 12 * i + 4, newest[i]->ipv4Count());
            darwin::writeLE<uint32_t>(data.data(), 1 + 12 * i + 8, newest[i]->date());
        }
    }
    for (size_t i = 0; i < ranges.size(); ++i) {
        const auto& r = ranges[i];
        const uint32_t fields[] = {r.first, r.end, r.country, r.registry, r.date, r.status};
        for (size_t f = 0; f < 6; ++f) {
            darwin::writeLE<uint32_t>(data.data(), base + 24 * i + 4 * f, fields[f]);
        }
    }
    return data;
}

} // namespace

std::optional<QByteArray> RegistryFileBuilder::build(const std::vector<Source>& sources,
                                                     QString* error) {
    if (sources.empty()) {
        if (error != nullptr) {
            *error = QStringLiteral("no statistics exchange files given");
        }
        return std::nullopt;
    }
    std::vector<const Source*> ordered;
    for (const Source& source : sources) {
        ordered.push_back(&source);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const Source* a, const Source* b) {
        return baseName(a->name) < baseName(b->name);
    });
    std::vector<DelegatedFile> files;
    for (const Source* source : ordered) {
        QString why;
        auto file = DelegatedFile::read(source->contents, &why);
        if (!file) {
            if (error != nullptr) {
                *error = source->name + QStringLiteral(": ") + why;
            }
            return std::nullopt;
        }
        files.push_back(std::move(*file));
    }
    // Several files of one registry: the newest fills its record, the later name on a tie.
    std::vector<const DelegatedFile*> newest(REGISTRIES, nullptr);
    for (const DelegatedFile& file : files) {
        const DelegatedFile*& slot = newest[file.registry() - 1];
        if (slot == nullptr || file.date() >= slot->date()) {
            slot = &file;
        }
    }
    return encode(newest, resolve(candidatesOf(files)));
}
