#include "platform/ui/TableViewSectionHeaders.h"

#include "platform/ui/Geometry.h"
#include "platform/ui/TableViewPainting.h"

namespace ui {

namespace {

constexpr double kGroupedTitledHeaderHeight = 46;

} // namespace

TableViewSectionHeaders::TableViewSectionHeaders(QWidget* host, TableViewStyle style)
    : host_(host), style_(style) {}

void TableViewSectionHeaders::clear() {
    for (Header& header : headers_) {
        delete header.view.data();
    }
    headers_.clear();
}

void TableViewSectionHeaders::append(const QString& title, QWidget* view) {
    if (view != nullptr) {
        view->setParent(host_);
    }
    headers_.push_back({title, view});
}

QString TableViewSectionHeaders::title(int section) const {
    return section >= 0 && section < count() ? headers_[section].title : QString();
}

QWidget* TableViewSectionHeaders::view(int section) const {
    return section >= 0 && section < count() ? headers_[section].view.data() : nullptr;
}

bool TableViewSectionHeaders::isEmpty(int section) const {
    return title(section).isEmpty() && view(section) == nullptr;
}

double TableViewSectionHeaders::automaticHeight(int section,
                                                std::optional<double> sectionHeaderHeight) const {
    const QWidget* shown = view(section);
    if (shown != nullptr && shown->height() > 0) {
        return frame(shown).height;
    }
    const bool grouped = style_ == TableViewStyle::Grouped;
    if (title(section).isEmpty()) {
        return grouped ? kGroupedGap : 0;
    }
    if (sectionHeaderHeight || !grouped) {
        return sectionHeaderHeight.value_or(kPlainHeaderHeight);
    }
    return kGroupedTitledHeaderHeight;
}

void TableViewSectionHeaders::placeViews(const TableViewGeometry& geometry, double offset,
                                         TableViewGeometry::Column across) {
    for (int s = 0; s < count(); ++s) {
        if (QWidget* shown = view(s)) {
            const TableViewGeometry::Span header = geometry.headerSpan(s);
            setFrame(shown, {across.left, header.top - offset, across.width, header.height});
            shown->show();
        }
    }
}

void TableViewSectionHeaders::paint(QPainter& painter, const TableViewGeometry& geometry,
                                    double offset, TableViewGeometry::Column across,
                                    double height) const {
    const double bottom = offset + height;
    for (int s = 0; s < count() && s < geometry.numberOfSections(); ++s) {
        const TableViewGeometry::Span header = geometry.headerSpan(s);
        if (header.top >= bottom) {
            break;
        }
        const bool drawn = view(s) == nullptr && !title(s).isEmpty();
        if (drawn && header.bottom() > offset) {
            const QRect box =
                Screen::toPixels({across.left, header.top - offset, across.width, header.height});
            paintTableViewSectionHeader(painter, box, style_, title(s));
        }
    }
}

} // namespace ui
