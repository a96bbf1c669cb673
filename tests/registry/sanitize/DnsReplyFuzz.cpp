// libFuzzer target for the reader of DNS replies (registry/dnsReply.cpp).
//
// An input is a reply as a server may send it. It is read for each query type in a
// buffer of its exact size, so that a read past it is a fault; the answers must
// agree with the result, and each must be a whole name or a dotted quad.

#include "registry/dnsReply.h"

#include <arpa/inet.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> reply(data, data + size);
    for (const int type : {dns_type_ptr, dns_type_a, dns_type_mx}) {
        std::vector<std::string> answers;
        const int result = dns_reply_answers(reply.data(), reply.size(), type, answers);
        check(result == 0 || result == -1);
        check(type == dns_type_mx ? answers.empty() : (result == 0) == !answers.empty());
        for (const std::string& answer : answers) {
            check(answer.size() < 1025);
            in_addr address{};
            check(type != dns_type_a || inet_pton(AF_INET, answer.c_str(), &address) == 1);
        }
    }
    return 0;
}
