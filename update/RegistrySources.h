#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// Where the registry update downloads from. By default the regional registries'
// statistics files listed in the shipped "registry-sources.txt" (one URL a line,
// "#" starts a comment), or the list $ORMEL_REGISTRY_SOURCES names; with
// $ORMEL_REGISTRY_URL set, that one ready-made registry file instead.
struct RegistrySources {
    QList<QUrl> urls;
    bool singleFile = false; // urls holds one registry file, installed as it is

    // The sources of this run, or no URLs with `error` saying why.
    static RegistrySources fromEnvironment(QString* error);
    // The URLs of a list's text; a line that is not an http or https URL is an error.
    static QList<QUrl> parseList(const QByteArray& text, const QString& listName, QString* error);
};
