#pragma once

// Reading the answers of a DNS reply (plain C++, no Qt, so that the fuzzer can take
// it by itself).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum : int {
    dns_type_a = 1,    // T_A
    dns_type_ptr = 12, // T_PTR
    dns_type_mx = 15,  // T_MX
};

// The size of the answer buffer a query reads into; a longer reply is cut there.
inline constexpr size_t dns_reply_limit = 512;

// Appends to `results` the answers of type `type` found in the reply of `length`
// bytes, in the order of the reply: host names for dns_type_ptr, dotted quads for
// dns_type_a (dns_type_mx records count but append nothing). Records of other
// types (a CNAME before the PTR it leads to) are skipped. Returns 0 when at least
// one answer of the type was found, -1 otherwise: a reply shorter than its header,
// or whose response code is not 0.
//
// Every read stays inside the reply: a name that cannot be expanded, a record or
// record data that runs past the end, a name that runs past its record's data, or
// a count larger than the records present ends the walk with what was found so far.
int dns_reply_answers(const uint8_t* reply, size_t length, int type,
                      std::vector<std::string>& results);
