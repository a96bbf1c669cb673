#pragma once

// The address registry's lookup engine: answers, for an IPv4 address, which
// country, regional registry, allocation status and assignment date it belongs to.
//
// The registry file "ccTLD.dat" (a few MB) is read whole into the module's own heap
// copy when it is opened, and searched there: whatever happens to the file afterwards
// (written over in place by cp, cut short, removed) leaves the open registry as it
// was. Layout, all fields unsigned 32-bit little-endian, records at any byte offset:
//   byte 0            registry count R
//   1 .. 1+12R        R registry records: (unused, count, date yyyymmdd)
//   1+12R ..          24-byte range records to the end of the file: first address,
//                     end (exclusive), country row, registry row, date, status row;
//                     sorted by first address and not overlapping.
//
// One module-wide state record; no routine takes a handle. Opening reads and checks
// the file without the module's lock, then takes it exclusively to put the new copy
// in place; closing takes it exclusively; tl_validate, tl_lookup and the metadata
// routines take it shared, so they may run on any thread while another thread
// reopens the file. lookup_database, lookup_database2, tl_answer_of and
// assigned_network are the unlocked steps tl_lookup is made of: callers keep the
// module open while they use them and the record they return, by holding the lock
// shared between tl_read_begin and tl_read_end.

#include <cstddef>
#include <cstdint>
#include <regex.h>

struct tl_rir_entry {
    const char* name;
    const char* region;
};

struct tl_tld_entry {
    const char* code;
    const char* name;
};

// One 24-byte range record inside the file's copy (byte-aligned).
struct tl_range {
    unsigned char bytes[24];
};

struct tl_answer {
    const tl_rir_entry* registry;
    const tl_tld_entry* country;
    uint32_t date;      // yyyymmdd, 0 when unknown
    const char* status; // null when the record's status row does not exist
    // The range that holds the address: first address and end (exclusive).
    uint32_t first;
    uint32_t end;
};

struct tl_registry_info {
    const tl_rir_entry* registry;
    int32_t count;
    uint32_t date;
};

// The module's state while a file is open.
struct tl_state {
    const unsigned char* base; // heap copy of the whole file, null when closed
    int descriptor;            // -1: the file is closed again once it has been read
    uint32_t length;           // file size at open
    const tl_range* ranges;    // base + 1 + 12R
    uint8_t registryCount;     // R
    unsigned char* registries; // heap copy of the R registry records, or null
    regex_t* pattern;          // compiled dotted-quad pattern, or null
    uint32_t rangeCount;       // whole range records in the file
    uint32_t* index;           // per /16: the first record starting at or after it
    uint64_t generation;       // counts opens and closes: records of another file differ
};

// Why tl_init refused a file; TL_OPENED when it did not.
enum tl_refusal_reason : int {
    TL_OPENED = 0,
    TL_CANNOT_READ,        // open or read failed; error says why (ENOENT: no such file)
    TL_NOT_REGULAR,        // a symbolic link, directory, FIFO, socket or device
    TL_TOO_LARGE,          // more than TL_MAX_FILE_SIZE bytes
    TL_TOO_SHORT,          // empty, or shorter than the registry records it announces
    TL_OUT_OF_ORDER,       // a range empty, overlapping another or out of order
    TL_CHANGED_WHILE_READ, // size or modification time moved during every read
    TL_NO_MEMORY,
};

struct tl_refusal {
    tl_refusal_reason reason;
    int error;         // errno of TL_CANNOT_READ, else 0
    unsigned fileType; // S_IFMT bits of TL_NOT_REGULAR (S_IFLNK for a link), else 0
};

inline constexpr size_t TL_REGISTRY_RECORD_SIZE = 12;
inline constexpr size_t TL_RANGE_RECORD_SIZE = sizeof(tl_range);
inline constexpr uint32_t TL_TLD_ROWS = 283;
inline constexpr uint32_t TL_RIR_ROWS = 6;
inline constexpr uint32_t TL_STATUS_ROWS = 3;
inline constexpr uint32_t TL_MAX_FILE_SIZE = 64u << 20;

extern const tl_rir_entry rirTable[TL_RIR_ROWS];
extern const tl_tld_entry tldTable[TL_TLD_ROWS];
extern const char* const statusTable[TL_STATUS_ROWS];

// 0, or -1 with errno set and the module closed; tl_last_refusal says why.
int tl_init(const char* path);
// Reads and checks the file at `path` as tl_init does, leaving the open file as it
// was (a new copy is checked before it replaces the one in use): 0 with its number of
// range records in `rangeCount`, or -1 with errno set; tl_last_refusal says why.
int tl_check(const char* path, uint32_t* rangeCount);
// Why the calling thread's last tl_init or tl_check refused its file.
tl_refusal tl_last_refusal();
int tl_finish();
int tl_validate(const char* text);
// The address of exactly the texts tl_validate accepts (four dot-separated octets of
// 1 to 3 digits, each at most 255, nothing else), over `length` bytes that need no
// terminating NUL: 0, or -1 for any other text. Takes no lock.
int tl_parse_address(const char* text, size_t length, uint32_t* address);
int tl_lookup(const char* text, tl_answer* answer, char** network);
int tl_meta_registries(uint8_t* count);
int tl_meta_registry_info(uint8_t index, tl_registry_info* info);

// Hold the module's lock shared, so that the unlocked steps below may be used and
// the records they return stay valid, until tl_read_end. The routines that take the
// lock themselves are not to be called in between. Returns the state's generation.
uint64_t tl_read_begin();
void tl_read_end();

const tl_range* lookup_database(uint32_t address);
const tl_range* lookup_database2(const char* text);
// What tl_lookup answers for a record, without the network: 0, or -1 when the
// record's registry or country row does not exist.
int tl_answer_of(const tl_range* range, tl_answer* answer);
int assigned_network(const tl_range* range, char** network);
const tl_tld_entry* lookup_tld_table(uint32_t index);
const tl_rir_entry* lookup_rir_table(uint32_t index);
void regexp_finish();

// The plain binary search over all records, without the /16 index; it returns
// exactly what lookup_database returns.
const tl_range* lookup_database_unindexed(uint32_t address);

// The state record, for inspection (tests, diagnostics).
const tl_state& tl_current_state();

uint32_t tl_range_first(const tl_range* range);
uint32_t tl_range_end(const tl_range* range);
uint32_t tl_range_country(const tl_range* range);
uint32_t tl_range_registry(const tl_range* range);
uint32_t tl_range_date(const tl_range* range);
uint32_t tl_range_status(const tl_range* range);
