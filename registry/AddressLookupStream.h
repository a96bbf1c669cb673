#pragma once

#include "registry/HostNameResolver.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class RegistryTexts;
struct tl_range;

// Looks addresses up in the open registry, one a line, and answers each line with one
// line in the form of `ormel --lookup`: the line's text, then the registry's six texts
// tab-separated (RegistryTexts), or the text alone when the registry has nothing for
// the address or the text is no IPv4 address. A "\r" before the newline is not part
// of the text; a last line without newline is a line. When host names are resolved,
// every line of an IPv4 address ends in one more field: its host name by reverse DNS
// (HostNameResolver), empty when none came in time.
//
// Reads and writes go through large buffers; the registry engine's lock is held
// shared for each read's worth of lines, never across a read or a write, so the
// module stays open while those lines are looked up and another thread may reopen
// it in between (the texts of the new file are made afresh). Each range record's
// answer text is made once and kept for the next address in that range. Host names
// are asked for a batch of lines at a time, after the lock is let go and before the
// batch is written.
//
// Text that is no IPv4 address is reported to the invalid-line handler after the
// lines around it are answered; a write or read failure ends the run. SIGPIPE is
// blocked on the running thread while it writes, so a closed pipe is a write
// failure (EPIPE) and not the end of the process. A stream serves one thread; the
// answer texts it keeps serve its later runs.
class AddressLookupStream {
public:
    enum class Failure { None, Read, Write };

    struct Result {
        int64_t lines = 0;   // lines answered
        int64_t invalid = 0; // of which were no IPv4 address
        Failure failure = Failure::None;
        int error = 0; // errno of the failure

        bool ok() const { return failure == Failure::None; }
        // "cannot read the addresses: Is a directory", "cannot write the answers: No
        // space left on device"; empty when ok.
        QString failureText() const;
    };

    // The 1-based line number and the line's text, cut to its first
    // reportedTextLimit bytes followed by "..." when longer.
    using InvalidLineHandler = std::function<void(int64_t line, std::string_view text)>;
    static constexpr size_t reportedTextLimit = 200;

    // Uses the shared registry's texts when none are given; the engine must be open
    // (TarnelDB opens it), else every address is answered alone.
    AddressLookupStream();
    explicit AddressLookupStream(const RegistryTexts& texts);

    void setInvalidLineHandler(InvalidLineHandler handler) { onInvalid_ = std::move(handler); }
    // Off by default: the lookups stay offline.
    void setResolveHostNames(bool resolve) { resolve_ = resolve; }

    // Answers every line read from `input` until its end, writing to `output`.
    Result run(int input, int output);
    // Answers each address of the list as one line (the --lookup arguments), item N
    // as line N, through the same answer code as run(input, output).
    Result run(const QStringList& addresses, int output);
    // The same answer lines collected in memory instead of written.
    QByteArray answer(const QStringList& addresses);

    // `line N: "TEXT" is not an IPv4 address`, for the invalid-line handler's report.
    static QString invalidLineMessage(int64_t line, std::string_view text);

private:
    // One range record's answer text: offset and length in arena_ ("\t" and the six
    // texts), length 0 for a record with nothing to show.
    struct Entry {
        uint32_t offset;
        uint32_t length;
    };
    static constexpr uint32_t unmade = UINT32_MAX;
    using Sink = std::function<bool(const char* bytes, size_t count)>;

    void reset();
    void holdRegistry();
    void releaseRegistry();
    template <typename NextLine> bool answerLines(NextLine next, const Sink& sink);
    void answerLine(std::string_view line);
    std::string_view textOf(uint32_t address);
    void makeEntry(const tl_range* range, Entry& entry);
    void addHostNames();
    void reportInvalid();
    bool flush(const Sink& sink);
    void readAndAnswer(int input, const Sink& sink);
    size_t continueLongLine(size_t have, bool end);

    const RegistryTexts& texts_;
    InvalidLineHandler onInvalid_;
    bool resolve_ = false;
    HostNameResolver resolver_;
    // The lines waiting for their host names: where in out_ the name goes, and the
    // address.
    std::vector<std::pair<size_t, uint32_t>> unnamed_;
    std::string named_; // out_ with the names, swapped in

    std::vector<Entry> entries_; // by record of the file open now
    std::string arena_;
    uint64_t generation_ = 0;
    bool cacheValid_ = false;

    std::string out_;
    std::vector<char> in_;
    int64_t lineNumber_ = 0;
    int64_t invalidCount_ = 0;
    std::vector<std::pair<int64_t, std::string>> invalid_; // reported after the lock
    std::string longLine_; // the reported start of a line longer than the input buffer
    bool inLongLine_ = false;
    Failure failure_ = Failure::None;
    int error_ = 0;
};
