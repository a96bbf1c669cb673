// mmdb_stream DATABASE: the libmaxminddb counterpart of `ormel --lookup -`, for the
// stream benchmark (bench/registry-stream-vs-maxminddb.py). Addresses one a line from
// stdin; to stdout each line's text and, when the database holds the address, a tab
// and its country_code. Input is read and output written in 1 MiB blocks; the text
// is parsed with inet_pton and looked up with MMDB_lookup_sockaddr.
#include <arpa/inet.h>
#include <maxminddb.h>
#include <netinet/in.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

constexpr size_t blockSize = 1u << 20;

bool writeAll(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

void answer(MMDB_s& database, std::string_view line, std::string& out) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    out.append(line);
    char text[INET_ADDRSTRLEN + 1];
    sockaddr_in socket{};
    socket.sin_family = AF_INET;
    if (line.size() < sizeof text) {
        std::memcpy(text, line.data(), line.size());
        text[line.size()] = '\0';
        int error = MMDB_SUCCESS;
        if (inet_pton(AF_INET, text, &socket.sin_addr) == 1) {
            MMDB_lookup_result_s result =
                MMDB_lookup_sockaddr(&database, reinterpret_cast<const sockaddr*>(&socket), &error);
            MMDB_entry_data_s data{};
            if (result.found_entry &&
                MMDB_get_value(&result.entry, &data, "country_code", nullptr) == MMDB_SUCCESS &&
                data.has_data && data.type == MMDB_DATA_TYPE_UTF8_STRING) {
                out.push_back('\t');
                out.append(data.utf8_string, data.data_size);
            }
        }
    }
    out.push_back('\n');
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mmdb_stream DATABASE < addresses\n");
        return 2;
    }
    MMDB_s database{};
    if (const int status = MMDB_open(argv[1], MMDB_MODE_MMAP, &database); status != MMDB_SUCCESS) {
        std::fprintf(stderr, "mmdb_stream: %s: %s\n", argv[1], MMDB_strerror(status));
        return 1;
    }
    std::string in(blockSize, '\0');
    std::string out;
    out.reserve(blockSize * 2);
    size_t have = 0;
    for (;;) {
        const ssize_t count = ::read(STDIN_FILENO, in.data() + have, in.size() - have);
        if (count < 0) {
            return 1;
        }
        const bool end = count == 0;
        have += static_cast<size_t>(count);
        size_t at = 0;
        for (;;) {
            const void* newline = std::memchr(in.data() + at, '\n', have - at);
            if (newline == nullptr) {
                break;
            }
            const size_t stop = static_cast<size_t>(static_cast<const char*>(newline) - in.data());
            answer(database, std::string_view(in.data() + at, stop - at), out);
            at = stop + 1;
        }
        if (end && at < have) {
            answer(database, std::string_view(in.data() + at, have - at), out);
            at = have;
        }
        std::memmove(in.data(), in.data() + at, have - at);
        have -= at;
        if (!writeAll(out)) {
            return 1;
        }
        out.clear();
        if (end || have == in.size()) {
            break;
        }
    }
    MMDB_close(&database);
    return 0;
}
