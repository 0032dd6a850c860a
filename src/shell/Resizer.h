#pragma once

#include <QObject>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <map>
#include <optional>
#include <vector>

class QWidget;

namespace quorvane {

// Keeps the window's arrangement in proportion when it is resized, guided by a tag per
// control: each tagged edge keeps its share of the parent's width or height, so that what
// was spread over a parent stays spread over it.
// - "X" / "Y": the left / top edge (the control moves).
// - "W" / "H": the right / bottom edge (the control stretches).
// - A control in a frame that only moves (tagged "XY") has no growing parent to stretch
//   with: "W" / "H" stretch it with the window, as far as the room up to its neighbours and
//   the frame's edge allows, by the same share for all such controls of one frame.
// - Untagged controls keep their place and size.
// Each control is placed from its designed geometry and its parent's designed size, so the
// layout never drifts, whatever the order of resizes. A parent's resize lays out its tagged
// children at once; apply() lays out everything again (hidden tabs get their size when shown).
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
        // For a parent that only moves: how far its stretching children may grow.
        std::optional<QSizeF> stretchLimit;
    };

    void layOut(QWidget* parent, Parent& record);
    void layOutFixedParents();
    QRectF inProportion(const Entry& entry, const QSizeF& designSize, const QSizeF& size) const;
    QRectF withinFixedParent(const Entry& entry, const QSizeF& limit) const;
    QSizeF stretchLimit(QWidget* parent, const Parent& record) const;
    bool stretches(const QWidget* parent) const;
    QSizeF windowShare() const;

    std::map<QWidget*, Parent> m_parents;
    std::vector<QWidget*> m_order; // parents in the order of registration: outer ones first
};

} // namespace quorvane
