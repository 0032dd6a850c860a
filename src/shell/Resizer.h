#pragma once

#include <QObject>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <map>
#include <vector>

class QWidget;

namespace quorvane {

// Keeps the window's arrangement when it is resized, guided by a tag per control:
// "W" / "H" stretch the control by as much as its parent grew in width / height, "X" / "Y"
// move it by as much, untagged controls keep their place and size. Each control is placed
// from its designed geometry and its parent's designed size, so the layout never drifts,
// whatever the order of resizes. A parent's resize lays out its tagged children at once;
// apply() lays out everything again (hidden tabs are given their size only when shown).
class Resizer : public QObject {
    Q_OBJECT
public:
    explicit Resizer(QObject* parent = nullptr);

    // Registers a control with its designed geometry (pixels, in its parent) and places it
    // there. parentDesignSize: the parent's size the design refers to.
    void add(QWidget* control, const QRectF& design, const QSizeF& parentDesignSize,
             const QString& tag);

    void apply();
    QString tagOf(const QWidget* control) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QWidget* control;
        QRectF design;
        QString tag;
    };
    struct Parent {
        QSizeF designSize;
        std::vector<Entry> children;
    };

    void layOut(QWidget* parent, const Parent& record) const;

    std::map<QWidget*, Parent> m_parents;
    std::vector<QWidget*> m_order; // parents in the order of registration: outer ones first
};

} // namespace quorvane
