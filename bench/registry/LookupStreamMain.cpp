// lookup_stream: addresses one a line from stdin, answer lines to stdout, through
// AddressLookupStream as `ormel --lookup -` does; with addresses as arguments, those
// instead. Text that is no IPv4 address is named on stderr and makes the exit status 1,
// as does a read or write failure. The registry is the one TarnelDB opens: the copy in
// ORMEL_DOCUMENTS_DIR, else the shipped one of the build tree.
//
//     lookup_stream < addresses > answers
//     lookup_stream 8.8.8.8 1.1.1.1
#include "registry/AddressLookupStream.h"
#include "registry/TarnelDB.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
    ::setenv("ORMEL_RESOURCE_DIR", ORMEL_BUNDLE_DIR, 0);
    const QCoreApplication application(argc, argv);
    if (!TarnelDB::sharedInstance()->ready()) {
        std::fprintf(stderr, "lookup_stream: no registry file could be opened\n");
        return EXIT_FAILURE;
    }
    // One write for many reports, not one a line.
    static char reports[1 << 16];
    std::setvbuf(stderr, reports, _IOFBF, sizeof reports);
    AddressLookupStream stream;
    stream.setInvalidLineHandler([](int64_t line, std::string_view text) {
        std::fprintf(stderr, "lookup_stream: %s\n",
                     qPrintable(AddressLookupStream::invalidLineMessage(line, text)));
    });
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const AddressLookupStream::Result result = arguments.isEmpty()
                                                   ? stream.run(STDIN_FILENO, STDOUT_FILENO)
                                                   : stream.run(arguments, STDOUT_FILENO);
    if (!result.ok()) {
        std::fprintf(stderr, "lookup_stream: %s\n", qPrintable(result.failureText()));
        return EXIT_FAILURE;
    }
    return result.invalid > 0 ? EXIT_FAILURE : EXIT_SUCCESS;
}
