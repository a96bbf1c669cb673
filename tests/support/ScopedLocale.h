#pragma once

#include <QLocale>

namespace testenv {

// Makes `locale` the default locale (what QLocale() gives) for its life, then brings
// back the one before.
class ScopedLocale {
public:
    explicit ScopedLocale(const QLocale& locale) : saved_(QLocale()) {
        QLocale::setDefault(locale);
    }
    ScopedLocale(QLocale::Language language, QLocale::Territory territory)
        : ScopedLocale(QLocale(language, territory)) {}
    ~ScopedLocale() { QLocale::setDefault(saved_); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    QLocale saved_;
};

} // namespace testenv
