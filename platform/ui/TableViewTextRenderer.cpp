#include "platform/ui/TableViewTextRenderer.h"

#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

#include <QJsonArray>
#include <QLabel>

#include <algorithm>
#include <vector>

namespace ui {

namespace {

bool isControlCharacter(char16_t c) {
    return c < 0x20 || (c >= 0x7f && c <= 0x9f);
}

QString escapedControlCharacter(char16_t c) {
    switch (c) {
    case '\t':
        return QStringLiteral("\\t");
    case '\n':
        return QStringLiteral("\\n");
    case '\r':
        return QStringLiteral("\\r");
    default:
        return QStringLiteral("\\x%1").arg(static_cast<unsigned>(c), 2, 16, QChar('0'));
    }
}

bool isRowField(const QLabel* label) {
    const auto* field = qobject_cast<const Label*>(label);
    return field != nullptr && field->isRowField();
}

} // namespace

QList<TableViewTextRenderer::Section> TableViewTextRenderer::shownSections(TableView& table) {
    QList<Section> sections;
    for (int s = 0; s < table.numberOfSections(); ++s) {
        const QString title = table.titleForHeaderInSection(s);
        const int rows = table.numberOfRowsInSection(s);
        if (!isSectionShown(title, rows)) {
            continue;
        }
        Section section{title, {}};
        for (int r = 0; r < rows; ++r) {
            section.rows.append(table.rowTexts({s, r}));
        }
        sections.append(section);
    }
    return sections;
}

QString TableViewTextRenderer::renderText(TableView& table) {
    QString text;
    for (const Section& section : shownSections(table)) {
        text += headerLine(section.title) + '\n';
        for (const QStringList& row : section.rows) {
            text += rowLine(row) + '\n';
        }
    }
    return text;
}

QJsonObject TableViewTextRenderer::renderJson(TableView& table) {
    QJsonArray sections;
    for (const Section& section : shownSections(table)) {
        QJsonArray rows;
        for (const QStringList& row : section.rows) {
            rows.append(QJsonArray::fromStringList(row));
        }
        sections.append(QJsonObject{{"title", section.title}, {"rows", rows}});
    }
    return QJsonObject{{"sections", sections}};
}

bool TableViewTextRenderer::isSectionShown(const QString& title, int rows) {
    return !title.isEmpty() || rows > 0;
}

QString TableViewTextRenderer::headerLine(const QString& title) {
    return title.isEmpty() ? QStringLiteral("--") : QStringLiteral("-- ") + escapedText(title);
}

QString TableViewTextRenderer::rowLine(const QStringList& texts) {
    QStringList escaped;
    for (const QString& text : texts) {
        escaped.append(escapedText(text));
    }
    return escaped.join('\t');
}

QString TableViewTextRenderer::escapedText(const QString& text) {
    if (std::none_of(text.cbegin(), text.cend(),
                     [](QChar c) { return isControlCharacter(c.unicode()); })) {
        return text;
    }
    QString escaped;
    for (const QChar c : text) {
        escaped +=
            isControlCharacter(c.unicode()) ? escapedControlCharacter(c.unicode()) : QString(c);
    }
    return escaped;
}

QStringList TableViewTextRenderer::labelTextsInReadingOrder(const QWidget* view) {
    struct Placed {
        QPoint position;
        QString text;
    };
    std::vector<Placed> placed;
    for (const QLabel* label : view->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(view) || (label->text().isEmpty() && !isRowField(label))) {
            continue;
        }
        placed.push_back({label->mapTo(view, QPoint(0, 0)), label->text()});
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        if (a.position.y() != b.position.y()) {
            return a.position.y() < b.position.y();
        }
        return a.position.x() < b.position.x();
    });
    QStringList texts;
    for (const Placed& label : placed) {
        texts.append(label.text);
    }
    return texts;
}

} // namespace ui
