#pragma once

#include "platform/ui/TableViewTextRenderer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

// A table's JSON rendering written out as JSON text, read back, and turned into the text
// rendering's lines: equal to renderText() when both hold the same sections and cells.
inline QString textOfTableJson(const QJsonObject& json) {
    const QJsonObject read =
        QJsonDocument::fromJson(QJsonDocument(json).toJson(QJsonDocument::Compact)).object();
    QString text;
    for (const QJsonValue& section : read["sections"].toArray()) {
        text += ui::TableViewTextRenderer::headerLine(section["title"].toString()) + '\n';
        for (const QJsonValue& row : section["rows"].toArray()) {
            text += ui::TableViewTextRenderer::rowLine(row.toVariant().toStringList()) + '\n';
        }
    }
    return text;
}
