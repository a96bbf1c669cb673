// libFuzzer target for the address registry's lookup engine.
//
// An input is a registry file, optionally followed by the marker "\n#addr\n" and
// address texts separated by NUL or newline. The file part is written to one
// scratch file and opened with tl_init; the texts go through tl_validate,
// tl_lookup and lookup_database2; 32-bit values from the texts' bytes and from
// the records' boundaries go through both search routines.
//
// A file opens exactly when its header fits and its ranges keep the layout
// (sorted, non-overlapping, non-empty). Every returned record must be a whole
// record of the engine's copy, the one a plain scan finds, and every answer must
// repeat that record. The address parser must take exactly the texts the validation
// pattern takes.

#include "platform/darwin/ByteOrder.h"
#include "registry/tarnel.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view textsMarker = "\n#addr\n";
constexpr uint32_t boundaryRecordLimit = 512;

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "tarnel invariant broken: %s\n", what);
        std::abort();
    }
}

// The scratch file every run rewrites; made once per process.
struct ScratchFile {
    std::string path;
    int descriptor = -1;

    ScratchFile() {
        const char* folder = std::getenv("TMPDIR");
        path = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
               "/tarnel-fuzz-XXXXXX";
        descriptor = mkstemp(path.data());
        check(descriptor >= 0, "cannot make the scratch file");
    }
    ~ScratchFile() {
        close(descriptor);
        unlink(path.c_str());
    }

    void write(std::string_view bytes) const {
        check(ftruncate(descriptor, 0) == 0, "cannot empty the scratch file");
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t written = pwrite(descriptor, bytes.data() + done, bytes.size() - done,
                                           static_cast<off_t>(done));
            check(written > 0, "cannot write the scratch file");
            done += static_cast<size_t>(written);
        }
    }
};

// What the input file says, read independently of the engine.
struct FileModel {
    std::string_view bytes;
    uint8_t registryCount = 0;
    size_t rangeOffset = 0;
    uint32_t rangeCount = 0;
    bool opens = false;
    bool keepsLayout = true; // every range non-empty and ending before the next starts

    explicit FileModel(std::string_view file) : bytes(file) {
        registryCount = file.empty() ? 0 : static_cast<uint8_t>(file[0]);
        rangeOffset = 1 + TL_REGISTRY_RECORD_SIZE * registryCount;
        const bool headerFits = !file.empty() && file.size() >= rangeOffset;
        if (headerFits) {
            rangeCount = static_cast<uint32_t>((file.size() - rangeOffset) / TL_RANGE_RECORD_SIZE);
        }
        for (uint32_t i = 0; i < rangeCount; ++i) {
            keepsLayout = keepsLayout && first(i) < end(i) && (i == 0 || end(i - 1) <= first(i));
        }
        opens = headerFits && keepsLayout;
    }

    uint32_t field(uint32_t record, size_t offset) const {
        return darwin::readLE<uint32_t>(bytes.data(),
                                        rangeOffset + TL_RANGE_RECORD_SIZE * record + offset);
    }
    uint32_t first(uint32_t record) const { return field(record, 0); }
    uint32_t end(uint32_t record) const { return field(record, 4); }
    uint32_t registryField(unsigned registry, size_t offset) const {
        return darwin::readLE<uint32_t>(bytes.data(),
                                        1 + TL_REGISTRY_RECORD_SIZE * registry + offset);
    }

    // The record whose range holds the address, by a plain scan.
    const tl_range* holderOf(uint32_t address) const {
        for (uint32_t i = 0; i < rangeCount; ++i) {
            if (first(i) <= address && address < end(i)) {
                return tl_current_state().ranges + i;
            }
        }
        return nullptr;
    }
};

// 1 to 3 digits, at most 255, four times, dot-separated, nothing else.
std::optional<uint32_t> dottedQuad(std::string_view text) {
    uint32_t address = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (text.empty() || text[0] != '.') {
                return std::nullopt;
            }
            text.remove_prefix(1);
        }
        size_t digits = 0;
        uint32_t value = 0;
        while (digits < text.size() && digits < 4 && text[digits] >= '0' && text[digits] <= '9') {
            value = value * 10 + static_cast<uint32_t>(text[digits] - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) {
            return std::nullopt;
        }
        text.remove_prefix(digits);
        address = (address << 8) | value;
    }
    return text.empty() ? std::optional<uint32_t>(address) : std::nullopt;
}

// Both searches name the record a plain scan finds, so a whole record of the copy.
void checkSearches(const FileModel& model, uint32_t address) {
    const tl_range* indexed = lookup_database(address);
    check(indexed == lookup_database_unindexed(address), "indexed and plain search disagree");
    check(indexed == model.holderOf(address), "search misses the range holding the address");
}

void checkAnswer(const FileModel& model, const tl_range* range, int result, const tl_answer& answer,
                 const char* network) {
    if (range == nullptr) {
        check(result == -1 && network == nullptr, "an answer for an address without record");
        return;
    }
    const tl_state& state = tl_current_state();
    const auto at = reinterpret_cast<uintptr_t>(range);
    const auto first = reinterpret_cast<uintptr_t>(state.ranges);
    check(at >= first && at < first + state.rangeCount * TL_RANGE_RECORD_SIZE &&
              (at - first) % TL_RANGE_RECORD_SIZE == 0,
          "record outside the copied ranges");
    const auto record = static_cast<uint32_t>((at - first) / TL_RANGE_RECORD_SIZE);
    check(answer.first == model.first(record) && answer.end == model.end(record),
          "answer names another range");
    const uint32_t registryRow = model.field(record, 12);
    const uint32_t countryRow = model.field(record, 8);
    check(answer.registry == (registryRow < TL_RIR_ROWS ? &rirTable[registryRow] : nullptr),
          "answer names another registry");
    check(answer.country == (countryRow < TL_TLD_ROWS ? &tldTable[countryRow] : nullptr),
          "answer names another country");
    const uint32_t statusRow = model.field(record, 20);
    check(answer.date == model.field(record, 16) &&
              answer.status == (statusRow < TL_STATUS_ROWS ? statusTable[statusRow] : nullptr),
          "answer carries another date or status");
    check((result == 0) == (answer.registry != nullptr && answer.country != nullptr),
          "lookup result disagrees with its answer");
}

void checkText(const FileModel& model, const std::string& text) {
    const std::optional<uint32_t> address = dottedQuad(text);
    check((tl_validate(text.c_str()) == 0) == address.has_value(),
          "tl_validate disagrees with the dotted-quad form");
    uint32_t parsed = 0;
    const bool parses = tl_parse_address(text.data(), text.size(), &parsed) == 0;
    check(parses == address.has_value() && (!parses || parsed == *address),
          "tl_parse_address disagrees with the dotted-quad form");
    const tl_range* range = lookup_database2(text.c_str());
    if (address) {
        check(range == lookup_database(*address), "text and number searches disagree");
    }
    tl_answer answer{};
    char* network = nullptr;
    const int result = tl_lookup(text.c_str(), &answer, &network);
    const std::unique_ptr<char, decltype(&std::free)> owned(network, &std::free);
    checkAnswer(model, range, result, answer, network);
}

void checkMetadata(const FileModel& model) {
    uint8_t count = 0;
    check(tl_meta_registries(&count) == 0 && count == model.registryCount, "wrong registry count");
    for (unsigned i = 0; i < 256; ++i) {
        tl_registry_info info{};
        const bool described = i < model.registryCount && i + 1 < TL_RIR_ROWS;
        check((tl_meta_registry_info(i, &info) == 0) == described,
              "registry info for a missing record");
        if (described) {
            check(info.registry == &rirTable[i + 1] &&
                      static_cast<uint32_t>(info.count) == model.registryField(i, 4) &&
                      info.date == model.registryField(i, 8),
                  "registry info differs from the file");
        }
    }
}

void checkClosed() {
    const tl_state& state = tl_current_state();
    check(state.base == nullptr && state.descriptor == -1 && state.registries == nullptr &&
              state.index == nullptr && state.pattern == nullptr,
          "closed state still holds resources");
    uint8_t count = 0;
    check(tl_meta_registries(&count) == -1, "registry count while closed");
    check(tl_validate("1.2.3.4") == -1, "validation while closed");
    check(lookup_database(0x01020304) == nullptr && errno == ECANCELED, "search while closed");
    tl_answer answer{};
    char* network = nullptr;
    check(tl_lookup("1.2.3.4", &answer, &network) == -1 && network == nullptr,
          "lookup while closed");
}

std::vector<std::string> splitTexts(std::string_view texts) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= texts.size()) {
        const size_t stop = std::min(texts.find('\0', start), texts.find('\n', start));
        const size_t end = stop == std::string_view::npos ? texts.size() : stop;
        parts.emplace_back(texts.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Values near every range boundary, the address space's ends, and the texts'
// bytes read four at a time.
std::vector<uint32_t> probeAddresses(const FileModel& model, std::string_view texts) {
    std::vector<uint32_t> addresses = {0, UINT32_MAX};
    for (uint32_t i = 0; i < model.rangeCount && i < boundaryRecordLimit; ++i) {
        for (uint32_t boundary : {model.first(i), model.end(i)}) {
            addresses.insert(addresses.end(), {boundary - 1, boundary, boundary + 1});
        }
    }
    for (size_t at = 0; at + 4 <= texts.size(); at += 4) {
        addresses.push_back(darwin::readLE<uint32_t>(texts.data(), at));
    }
    return addresses;
}

void exerciseOpenFile(const FileModel& model, std::string_view texts) {
    check(tl_current_state().rangeCount == model.rangeCount, "wrong record count");
    checkMetadata(model);
    for (uint32_t address : probeAddresses(model, texts)) {
        checkSearches(model, address);
    }
    for (const std::string& text : splitTexts(texts)) {
        checkText(model, text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile scratch;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t marker = input.find(textsMarker);
    const std::string_view file = input.substr(0, marker);
    const std::string_view texts = marker == std::string_view::npos
                                       ? std::string_view()
                                       : input.substr(marker + textsMarker.size());

    scratch.write(file);
    const FileModel model(file);
    check((tl_init(scratch.path.c_str()) == 0) == model.opens,
          "tl_init's verdict differs from the header's fit");
    if (model.opens) {
        exerciseOpenFile(model, texts);
    }
    // Opening builds a 256 KiB index, the bulk of a run's time: only inputs
    // without texts try reopening an open module.
    if (model.opens && texts.empty()) {
        check(tl_init(scratch.path.c_str()) == 0, "reopening failed");
        checkMetadata(model);
    }
    check(tl_finish() == 0, "tl_finish failed");
    checkClosed();
    return 0;
}
