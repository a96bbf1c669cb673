#include "registry/AddressLookupStream.h"

#include "common/NameText.h"
#include "common/OutputFile.h"
#include "platform/ui/TableViewTextRenderer.h"

#include "registry/RegistryTexts.h"
#include "registry/TarnelDB.h"
#include "registry/tarnel.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr size_t inputBufferSize = 1u << 20;
// Room enough for the answer texts of every record, so that the kept texts are not
// copied again as they grow: six texts take about 110 bytes. Pages are only touched
// as texts are made.
constexpr size_t entryBytes = 128;
// Answers collect up to this size before they are written.
constexpr size_t outputFlushSize = 1u << 20;
// Lines of addresses whose host names are asked for together: the queries of a batch
// overlap, the batch waits for its slowest.
constexpr size_t hostNameBatchSize = 1024;

// 0, or the errno of the write that failed.
int writeAll(int fd, const char* bytes, size_t count) {
    return OutputFile::writeAll(fd, QByteArrayView(bytes, static_cast<qsizetype>(count))) ? 0
                                                                                          : errno;
}

std::string reportedText(std::string_view text) {
    if (text.size() <= AddressLookupStream::reportedTextLimit) {
        return std::string(text);
    }
    std::string cut(text.substr(0, AddressLookupStream::reportedTextLimit));
    cut.append(3, '.');
    return cut;
}

// Blocks SIGPIPE on this thread for its lifetime, so that a write to a closed pipe
// fails with EPIPE; a SIGPIPE the writes raised meanwhile is taken off before the
// old mask returns.
class PipeSignalBlock {
public:
    PipeSignalBlock() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~PipeSignalBlock() {
        if (sigismember(&previous_, SIGPIPE) == 1) {
            return;
        }
        sigset_t pending;
        if (sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1) {
            const timespec now{0, 0};
            sigtimedwait(&pipe_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    PipeSignalBlock(const PipeSignalBlock&) = delete;
    PipeSignalBlock& operator=(const PipeSignalBlock&) = delete;

private:
    sigset_t pipe_{};
    sigset_t previous_{};
};

} // namespace

QString AddressLookupStream::Result::failureText() const {
    switch (failure) {
    case Failure::None:
        break;
    case Failure::Read:
        return QStringLiteral("cannot read the addresses: %1").arg(qt_error_string(error));
    case Failure::Write:
        return QStringLiteral("cannot write the answers: %1").arg(qt_error_string(error));
    }
    return {};
}

AddressLookupStream::AddressLookupStream()
    : AddressLookupStream(TarnelDB::sharedInstance()->texts()) {}

AddressLookupStream::AddressLookupStream(const RegistryTexts& texts) : texts_(texts) {}

QString AddressLookupStream::invalidLineMessage(int64_t line, std::string_view text) {
    // The text is the user's input, shown as the dumps show names: never raw ESC bytes.
    return QStringLiteral("line %1: \"%2\" is not an IPv4 address")
        .arg(QString::number(line),
             ui::TableViewTextRenderer::escapedText(NameText::fromBytes(text)));
}

AddressLookupStream::Result AddressLookupStream::run(int input, int output) {
    reset();
    const PipeSignalBlock blocked;
    readAndAnswer(input, [this, output](const char* bytes, size_t count) {
        const int error = writeAll(output, bytes, count);
        if (error != 0) {
            failure_ = Failure::Write;
            error_ = error;
        }
        return error == 0;
    });
    return {lineNumber_, invalidCount_, failure_, error_};
}

AddressLookupStream::Result AddressLookupStream::run(const QStringList& addresses, int output) {
    const QByteArray lines = answer(addresses);
    const PipeSignalBlock blocked;
    error_ = writeAll(output, lines.constData(), static_cast<size_t>(lines.size()));
    failure_ = error_ != 0 ? Failure::Write : Failure::None;
    return {lineNumber_, invalidCount_, failure_, error_};
}

QByteArray AddressLookupStream::answer(const QStringList& addresses) {
    reset();
    QByteArray lines;
    qsizetype next = 0;
    QByteArray current;
    answerLines(
        [&]() -> std::optional<std::string_view> {
            if (next == addresses.size()) {
                return std::nullopt;
            }
            // An argument is one line of the answer, whatever it holds.
            current = addresses[next++].toUtf8().replace('\n', "\\n").replace('\r', "\\r");
            return std::string_view(current.constData(), static_cast<size_t>(current.size()));
        },
        [&lines](const char* bytes, size_t count) {
            lines.append(bytes, static_cast<qsizetype>(count));
            return true;
        });
    return lines;
}

void AddressLookupStream::reset() {
    out_.clear();
    out_.reserve(outputFlushSize + inputBufferSize / 4);
    lineNumber_ = 0;
    invalidCount_ = 0;
    invalid_.clear();
    longLine_.clear();
    inLongLine_ = false;
    failure_ = Failure::None;
    error_ = 0;
    unnamed_.clear();
    resolver_.forget();
}

// Holds the engine's lock; the records kept are another file's after a reopen.
void AddressLookupStream::holdRegistry() {
    const uint64_t generation = tl_read_begin();
    if (!cacheValid_ || generation != generation_) {
        entries_.assign(tl_current_state().rangeCount, Entry{unmade, 0});
        arena_.clear();
        arena_.reserve(entryBytes * entries_.size());
        generation_ = generation;
        cacheValid_ = true;
    }
}

void AddressLookupStream::releaseRegistry() {
    tl_read_end();
}

// Answers the lines `next` gives, holding the registry for as many as fill the
// output buffer, and writes them out; false once a write failed.
template <typename NextLine>
bool AddressLookupStream::answerLines(NextLine next, const Sink& sink) {
    for (;;) {
        bool more = true;
        holdRegistry();
        while (out_.size() < outputFlushSize && unnamed_.size() < hostNameBatchSize) {
            const std::optional<std::string_view> line = next();
            if (!line) {
                more = false;
                break;
            }
            answerLine(*line);
        }
        releaseRegistry();
        addHostNames();
        reportInvalid();
        if (!flush(sink)) {
            return false;
        }
        if (!more) {
            return true;
        }
    }
}

void AddressLookupStream::answerLine(std::string_view line) {
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    out_.append(line);
    uint32_t address = 0;
    if (tl_parse_address(line.data(), line.size(), &address) == 0) {
        out_.append(textOf(address));
        if (resolve_) {
            out_.push_back('\t');
            unnamed_.emplace_back(out_.size(), address);
        }
    } else {
        ++invalidCount_;
        if (onInvalid_) {
            invalid_.emplace_back(lineNumber_, reportedText(line));
        }
    }
    out_.push_back('\n');
}

std::string_view AddressLookupStream::textOf(uint32_t address) {
    const tl_range* range = lookup_database(address);
    if (range == nullptr) {
        return {};
    }
    Entry& entry = entries_[static_cast<size_t>(range - tl_current_state().ranges)];
    if (entry.offset == unmade) {
        makeEntry(range, entry);
    }
    return {arena_.data() + entry.offset, entry.length};
}

void AddressLookupStream::makeEntry(const tl_range* range, Entry& entry) {
    tl_answer answer{};
    QStringList texts;
    if (tl_answer_of(range, &answer) == 0) {
        char* network = nullptr;
        assigned_network(range, &network);
        const std::unique_ptr<char, decltype(&std::free)> owned(network, &std::free);
        texts = texts_.of(answer, network);
    }
    entry.offset = static_cast<uint32_t>(arena_.size());
    if (!texts.isEmpty()) {
        const QByteArray joined = (QLatin1Char('\t') + texts.join(QLatin1Char('\t'))).toUtf8();
        arena_.append(joined.constData(), static_cast<size_t>(joined.size()));
    }
    entry.length = static_cast<uint32_t>(arena_.size() - entry.offset);
}

// Puts each waiting line's host name in its place.
void AddressLookupStream::addHostNames() {
    if (unnamed_.empty()) {
        return;
    }
    std::vector<uint32_t> addresses;
    addresses.reserve(unnamed_.size());
    for (const auto& [offset, address] : unnamed_) {
        addresses.push_back(address);
    }
    const std::vector<std::string> names = resolver_.namesOf(addresses);
    named_.clear();
    size_t copied = 0;
    for (size_t i = 0; i < unnamed_.size(); ++i) {
        const size_t offset = unnamed_[i].first;
        named_.append(out_, copied, offset - copied);
        named_.append(names[i]);
        copied = offset;
    }
    named_.append(out_, copied);
    out_.swap(named_);
    unnamed_.clear();
}

void AddressLookupStream::reportInvalid() {
    for (const auto& [line, text] : invalid_) {
        onInvalid_(line, text);
    }
    invalid_.clear();
}

bool AddressLookupStream::flush(const Sink& sink) {
    if (out_.empty()) {
        return true;
    }
    const bool written = sink(out_.data(), out_.size());
    out_.clear();
    return written;
}

// Reads into the input buffer and answers its whole lines after each read; the
// bytes of a line not yet ended wait for the next read.
void AddressLookupStream::readAndAnswer(int input, const Sink& sink) {
    in_.resize(inputBufferSize);
    size_t have = 0;
    bool end = false;
    while (!end) {
        const ssize_t count = ::read(input, in_.data() + have, in_.size() - have);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            failure_ = Failure::Read;
            error_ = errno;
            flush(sink);
            return;
        }
        end = count == 0;
        have += static_cast<size_t>(count);
        size_t used = inLongLine_ ? continueLongLine(have, end) : 0;
        const char* data = in_.data();
        const auto* lastNewline = static_cast<const char*>(memrchr(data + used, '\n', have - used));
        const size_t complete = lastNewline != nullptr ? static_cast<size_t>(lastNewline - data) + 1
                                : end                  ? have
                                                       : used;
        size_t at = used;
        const bool written = answerLines(
            [&]() -> std::optional<std::string_view> {
                if (at >= complete) {
                    return std::nullopt;
                }
                const auto* newline =
                    static_cast<const char*>(std::memchr(data + at, '\n', complete - at));
                const size_t stop =
                    newline != nullptr ? static_cast<size_t>(newline - data) : complete;
                const std::string_view line(data + at, stop - at);
                at = stop + 1;
                return line;
            },
            sink);
        if (!written) {
            return;
        }
        std::memmove(in_.data(), data + complete, have - complete);
        have -= complete;
        if (have == in_.size()) {
            // No newline in a full buffer: a line far too long to be an address.
            inLongLine_ = true;
            longLine_.clear();
            const size_t taken = continueLongLine(have, false);
            std::memmove(in_.data(), in_.data() + taken, have - taken);
            have -= taken;
        }
        if (!flush(sink)) {
            return;
        }
    }
}

// Passes the buffered piece of a line too long for the buffer straight to the output
// and, when its newline (or the input's end) is there, ends it as an invalid line.
// A "\r" last in the buffer stays, as it may end the line. Returns the bytes taken.
size_t AddressLookupStream::continueLongLine(size_t have, bool end) {
    const char* data = in_.data();
    const auto* newline = static_cast<const char*>(std::memchr(data, '\n', have));
    const bool ends = newline != nullptr || end;
    const size_t stop = newline != nullptr ? static_cast<size_t>(newline - data) : have;
    size_t piece = stop;
    if (piece > 0 && data[piece - 1] == '\r') {
        --piece;
    }
    out_.append(data, piece);
    if (longLine_.size() <= reportedTextLimit) {
        longLine_.append(data, std::min(piece, reportedTextLimit + 1 - longLine_.size()));
    }
    if (!ends) {
        return piece;
    }
    out_.push_back('\n');
    ++lineNumber_;
    ++invalidCount_;
    inLongLine_ = false;
    if (onInvalid_) {
        onInvalid_(lineNumber_, reportedText(longLine_));
    }
    return newline != nullptr ? stop + 1 : have;
}
