#include "registry/tarnel.h"

const tl_rir_entry rirTable[TL_RIR_ROWS] = {
    {"RFC", "Request for Comments"},
    {"AFRINIC", "Africa Region"},
    {"APNIC", "Asia/Pacific Region"},
    {"ARIN", "North America Region"},
    {"LACNIC", "Latin America and some Caribbean Islands"},
    {"RIPE NCC", "Europe, the Middle East, and Central Asia"},
};

const char* const statusTable[TL_STATUS_ROWS] = {"none", "allocated", "assigned"};

// Row numbers are what the registry file's country field refers to: rows are
// never reordered. Rows 1..30 are the special-purpose blocks, rows 31..282 the
// two-letter country and region codes in alphabetical order.
constexpr tl_tld_entry tldTable[TL_TLD_ROWS] = {
    {"??", "unknown"},
    {"SIP01", "'This' Network (RFC1700)"},
    {"SIP02", "Private-Use Networks (RFC1918)"},
    {"SIP03", "Public-Data Networks (RFC1700)"},
    {"SIP04", "Cable Television Networks (RFC3330)"},
    {"SIP05", "Reserved but subject to allocation (RFC1797)"},
    {"SIP06", "Loopback (RFC1700)"},
    {"SIP07", "Reserved but subject to allocation (RFC3330)"},
    {"SIP08", "IANA (NET-TEST-B)"},
    {"SIP09", "Link Local (RFC3330)"},
    {"SIP10", "Private-Use Networks (RFC1918)"},
    {"SIP11", "Reserved but subject to allocation (RFC3330)"},
    {"SIP12", "Reserved but subject to allocation (RFC3330)"},
    {"SIP13", "Test-Net (RFC3330)"},
    {"SIP14", "N/A"},
    {"SIP15", "6to4 Relay Anycast (RFC3068)"},
    {"SIP16", "Private-Use Networks (RFC1918)"},
    {"SIP17", "Network Interconnect Device Benchmark Testing (RFC2544)"},
    {"SIP18", "Reserved but subject to allocation (RFC3330)"},
    {"SIP19", "Local Network Control Block (RFC3171)"},
    {"SIP20", "Internetwork Control Block (RFC3171)"},
    {"SIP21", "AD-HOC Block (RFC3171)"},
    {"SIP22", "ST Multicast Groups (RFC3171)"},
    {"SIP23", "SDP/SAP Block (RFC3171)"},
    {"SIP24", "DIS Transient Block (RFC3171)"},
    {"SIP25", "RESERVED (RFC3171)"},
    {"SIP26", "Source Specific Multicast Block (RFC3171)"},
    {"SIP27", "GLOP Block (RFC3171)"},
    {"SIP28", "RESERVED (RFC3171)"},
    {"SIP29", "Administratively Scoped Block (RFC2365)"},
    {"SIP30", "Reserved for Future Use (RFC1700)"},
#include "registry/tarnelCountryNames.inc"
};

static_assert(tldTable[TL_TLD_ROWS - 1].code != nullptr,
              "every row of the country table is filled");
