#pragma once

#include <cstddef>

// Display text of the kernel's socket addresses, as the network screens show it. Each
// routine writes into a buffer of its own, cleared at every call; the text stays valid
// until the calling thread's next call of the same routine (every thread has its own
// buffers, so the gathering thread and the screens never meet in one).

// A device-form socket address (sa_len, sa_family, data) of which `available` bytes can
// be read: no text (null) for AF_UNSPEC and family 16; "default" or the dotted quad for
// AF_INET; "link#4", an Ethernet address or the link_ntoa text for AF_LINK; "/24" for a
// mask (family 255); "(99) 0102 0304 05" for any other family. Bytes beyond sa_len or
// beyond `available` are never read: a short address reads as if its missing bytes
// were zero.
const char* sock_ntop(const unsigned char* address, size_t available);

// Six address bytes as "00:11:22:33:44:55".
const char* ether_ntop(const unsigned char* address);

// A 4-byte IPv4 address in network order: "*" for 0.0.0.0, else the dotted quad.
const char* inetname(const unsigned char* address);

// A sockaddr_dl as BSD prints one: its interface name, then ':' when it carries a link
// address, then the address bytes in hexadecimal without leading zeros, joined by '.'
// ("fw0:1.23.4c"). Name and address are cut to the bytes the address holds.
const char* link_ntoa(const unsigned char* address, size_t available);
