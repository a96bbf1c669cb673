// ormel-make-registry OUTPUT DELEGATED-FILE...
// Writes the registry file ("ccTLD.dat") built from the regional registries' statistics
// exchange files; on any bad input it writes nothing and exits with status 1.

#include "registry/RegistryFileBuilder.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>

namespace {

int failWith(const QString& message) {
    std::fprintf(stderr, "ormel-make-registry: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ormel-make-registry OUTPUT DELEGATED-FILE...\n");
        return 2;
    }
    std::vector<RegistryFileBuilder::Source> sources;
    for (int i = 2; i < argc; ++i) {
        QFile input(QFile::decodeName(argv[i]));
        if (!input.open(QIODevice::ReadOnly)) {
            return failWith(input.fileName() + QStringLiteral(": ") + input.errorString());
        }
        sources.push_back({input.fileName(), input.readAll()});
    }
    QString error;
    const auto data = RegistryFileBuilder::build(sources, &error);
    if (!data) {
        return failWith(error);
    }
    QSaveFile output(QFile::decodeName(argv[1]));
    if (!output.open(QIODevice::WriteOnly) || output.write(*data) != data->size() ||
        !output.commit()) {
        return failWith(output.fileName() + QStringLiteral(": ") + output.errorString());
    }
    std::printf("ormel-make-registry: wrote %s (%lld bytes, %lld ranges) from %d files\n", argv[1],
                static_cast<long long>(data->size()),
                static_cast<long long>((data->size() - 61) / 24), argc - 2);
    return 0;
}
