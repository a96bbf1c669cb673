#include "platform/ui/TableViewTextRenderer.h"

#include "platform/ui/TableView.h"

#include <QLabel>

#include <algorithm>
#include <vector>

namespace ui {

QString TableViewTextRenderer::renderText(TableView& table) {
    QString text;
    for (int s = 0; s < table.numberOfSections(); ++s) {
        const QString title = table.titleForHeaderInSection(s);
        const int rows = table.numberOfRowsInSection(s);
        if (!isSectionShown(title, rows)) {
            continue;
        }
        text += headerLine(title) + '\n';
        for (int r = 0; r < rows; ++r) {
            text += rowLine(table.rowTexts({s, r})) + '\n';
        }
    }
    return text;
}

bool TableViewTextRenderer::isSectionShown(const QString& title, int rows) {
    return !title.isEmpty() || rows > 0;
}

QString TableViewTextRenderer::headerLine(const QString& title) {
    return title.isEmpty() ? QStringLiteral("--") : QStringLiteral("-- ") + title;
}

QString TableViewTextRenderer::rowLine(const QStringList& texts) {
    return texts.join('\t');
}

QStringList TableViewTextRenderer::labelTextsInReadingOrder(const QWidget* view) {
    struct Placed {
        QPoint position;
        QString text;
    };
    std::vector<Placed> placed;
    for (const QLabel* label : view->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->isVisibleTo(view)) {
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
