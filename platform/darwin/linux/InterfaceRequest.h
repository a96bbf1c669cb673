#pragma once

// The device's interface requests on an AF_INET datagram socket, served by a host socket
// of the same kind and the host's own SIOCGIF* requests.
namespace darwin {

// socket(AF_INET_DARWIN, SOCK_DGRAM_DARWIN, 0): a host AF_INET datagram socket. Other
// domains fail with EAFNOSUPPORT, other types with ESOCKTNOSUPPORT.
int openInterfaceRequestSocket(int domain, int type, int protocol);

// SIOCGIFADDR_DARWIN, SIOCGIFDSTADDR_DARWIN, SIOCGIFBRDADDR_DARWIN and
// SIOCGIFNETMASK_DARWIN on a 32-byte device ifreq: the address in the device's
// sockaddr_in, failing as the device's kernel does (ENXIO: no such interface;
// EADDRNOTAVAIL: no IPv4 address; EINVAL: a destination address asked of an interface
// that is not point-to-point, a broadcast address of one without broadcast). Other
// requests fail with ENOTTY.
int answerInterfaceRequest(int fd, unsigned long request, void* argument);

} // namespace darwin
