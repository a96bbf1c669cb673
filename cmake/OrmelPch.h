// Precompiled header for targets that use Qt: the heavy, stable Qt headers.
#pragma once
#ifdef __cplusplus
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QList>
#include <QtCore/QHash>
#include <QtCore/QDateTime>
#include <QtGui/QColor>
#include <QtGui/QFont>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtWidgets/QWidget>
#include <QtWidgets/QLabel>
#include <functional>
#include <memory>
#include <vector>
#endif
