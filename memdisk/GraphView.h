#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"

#include <QList>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include <cstdint>

class QPainter;
class QPainterPath;
class QPointF;

// Keys of a chart entry: its value (a number, read as a 32-bit float) and its colour
// (a ui::Color).
extern const QString GraphViewDataValueKey;
extern const QString GraphViewDataColorKey;

// Degrees to radians, computed in double precision and handed out as a 32-bit float.
float radians(double degrees);
// Orders entries by the value under `key`, largest first: -1 when a's is greater, 1 when
// it is smaller, 0 when both are equal.
int compare(const QVariantMap& a, const QVariantMap& b, const QString& key);

// A pie chart: a grey outline with its radius line, and one slice per entry, the
// largest first from 12 o'clock and then clockwise, each as large a share of the disc
// as its value is of the total. The background is clear. Geometry is in points.
class GraphView : public QWidget {
public:
    explicit GraphView(const ui::Rect& frame, QWidget* parent = nullptr);

    // Appends an entry and adds its value to the total.
    void setDataWithColor(float number, const ui::Color& color);
    void clearData();
    const QList<QVariantMap>& data() const { return data_; }

    float total() const { return total_; }
    float radius() const { return radius_; }
    void setRadius(float radius);
    // The direction flag of the arcs: 0 draws through increasing angles (clockwise on
    // screen), anything else through decreasing ones.
    int32_t clockwise() const { return clockwise_; }
    void setClockwise(int32_t clockwise);
    // Moves the chart's centre down by this many points.
    int32_t offset() const { return offset_; }
    void setOffset(int32_t offset);

    // Draws the chart into `painter`, whose coordinates are this view's points.
    void drawRect(QPainter& painter, const ui::Rect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void addArc(QPainterPath& path, QPointF centre, float startAngle, float endAngle) const;

    QList<QVariantMap> data_;
    float total_ = 0;
    float radius_ = 40.0F;
    int32_t clockwise_ = 0;
    int32_t offset_ = 0;
};
