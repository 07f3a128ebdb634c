// Boxes bound to fields of a recordset's current row: a move, requery or change of the field
// shows the row's value in the box; a changed box text (typed, or set by code) goes into the
// field (the recordset enters its edit mode, and Update writes it).  A combo box writes what
// the user picks or types, not what filling its list selects.
#pragma once

#include "platform/db/Db.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace dbmodel {

class FieldBinding : public QObject {
    Q_OBJECT
public:
    explicit FieldBinding(QObject* parent = nullptr);
    FieldBinding(const db::Recordset& rs, QObject* parent = nullptr);
    ~FieldBinding() override;

    // Binds to another recordset; every bound box shows its current row.
    void setRecordset(const db::Recordset& rs);
    db::Recordset recordset() const { return rs_; }

    // Binds a box (line edit, text edit, combo box, check box, date edit, label) to a field.
    void bind(QWidget* widget, const QString& field);
    void unbind(QWidget* widget);
    QString fieldOf(const QWidget* widget) const;  // "" when not bound

    // Shows the current row in every bound box (empty boxes without a current row).
    void pull();
    // Writes every box whose text differs from its field into the current row.
    void push();

signals:
    // A typed value the field refused (a letter in a number column, for example).
    void writeFailed(const QString& field, long number, const QString& description);

private:
    struct Bound {
        QPointer<QWidget> widget;
        QString field;
    };
    void attach();
    void detach();
    void show(const Bound& b);
    void write(const Bound& b);
    QVariant widgetValue(const QWidget* w) const;

    db::Recordset rs_;
    int listener_ = 0;
    std::vector<Bound> bound_;
    bool showing_ = false;
    bool writing_ = false;
};

}  // namespace dbmodel
