#include "platform/dbmodel/FieldBinding.h"

#include "platform/db/Probes.h"
#include "platform/dbmodel/RecordsetModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace dbmodel {

FieldBinding::FieldBinding(QObject* parent) : QObject(parent) {}

FieldBinding::FieldBinding(const db::Recordset& rs, QObject* parent) : QObject(parent), rs_(rs) { attach(); }

FieldBinding::~FieldBinding() { detach(); }

void FieldBinding::attach()
{
    listener_ = rs_.Subscribe([this](db::RecordsetEvent e, int field) {
        // A row about to leave is still the current one: the boxes follow once it has left.
        if (writing_ || e == db::RecordsetEvent::RowRemoving)
            return;
        if (e == db::RecordsetEvent::FieldChanged && field >= 0) {
            const QString name = rs_.FieldName(field);
            for (const Bound& b : bound_)
                if (b.field.compare(name, Qt::CaseInsensitive) == 0)
                    show(b);
            return;
        }
        pull();
    });
}

void FieldBinding::detach()
{
    if (listener_)
        rs_.Unsubscribe(listener_);
    listener_ = 0;
}

void FieldBinding::setRecordset(const db::Recordset& rs)
{
    detach();
    rs_ = rs;
    attach();
    pull();
}

void FieldBinding::bind(QWidget* widget, const QString& field)
{
    unbind(widget);
    bound_.push_back({widget, field});
    auto changed = [this, widget] {
        if (showing_)
            return;
        for (const Bound& b : bound_)
            if (b.widget == widget)
                write(b);
    };
    // Text set by code counts as typed, as in a bound box of the original; filling a combo's
    // list or showing a row does not.
    if (auto* e = qobject_cast<QLineEdit*>(widget))
        connect(e, &QLineEdit::textChanged, this, changed);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(widget))
        connect(p, &QPlainTextEdit::textChanged, this, changed);
    else if (auto* t = qobject_cast<QTextEdit*>(widget))
        connect(t, &QTextEdit::textChanged, this, changed);
    else if (auto* c = qobject_cast<QComboBox*>(widget)) {
        connect(c, &QComboBox::textActivated, this, changed);
        if (c->lineEdit())
            connect(c->lineEdit(), &QLineEdit::textEdited, this, changed);
    }
    else if (auto* k = qobject_cast<QCheckBox*>(widget))
        connect(k, &QCheckBox::toggled, this, changed);
    else if (auto* d = qobject_cast<QDateTimeEdit*>(widget))
        connect(d, &QDateTimeEdit::dateTimeChanged, this, changed);
    connect(widget, &QObject::destroyed, this, [this, widget] { unbind(widget); });
    show(bound_.back());
}

void FieldBinding::unbind(QWidget* widget)
{
    for (auto it = bound_.begin(); it != bound_.end(); ++it) {
        if (it->widget == widget || it->widget.isNull()) {
            if (it->widget)
                disconnect(it->widget, nullptr, this, nullptr);
            bound_.erase(it);
            return unbind(widget);
        }
    }
}

QString FieldBinding::fieldOf(const QWidget* widget) const
{
    for (const Bound& b : bound_)
        if (b.widget == widget)
            return b.field;
    return {};
}

void FieldBinding::pull()
{
    for (const Bound& b : bound_)
        show(b);
}

void FieldBinding::push()
{
    for (const Bound& b : bound_)
        write(b);
}

void FieldBinding::show(const Bound& b)
{
    QWidget* w = b.widget;
    if (!w)
        return;
    const QVariant v = db::ValueOrNull(rs_, b.field);
    showing_ = true;
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(DisplayText(v));
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        p->setPlainText(DisplayText(v));
    else if (auto* t = qobject_cast<QTextEdit*>(w))
        t->setPlainText(DisplayText(v));
    else if (auto* c = qobject_cast<QComboBox*>(w))
        c->setCurrentText(DisplayText(v));
    else if (auto* k = qobject_cast<QCheckBox*>(w))
        k->setChecked(v.isValid() && !v.isNull() && v.toDouble() != 0);
    else if (auto* d = qobject_cast<QDateTimeEdit*>(w)) {
        if (v.isValid() && !v.isNull())
            d->setDateTime(v.toDateTime());
    } else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(DisplayText(v));
    showing_ = false;
}

QVariant FieldBinding::widgetValue(const QWidget* w) const
{
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto* p = qobject_cast<const QPlainTextEdit*>(w))
        return p->toPlainText();
    if (auto* t = qobject_cast<const QTextEdit*>(w))
        return t->toPlainText();
    if (auto* c = qobject_cast<const QComboBox*>(w))
        return c->currentText();
    if (auto* k = qobject_cast<const QCheckBox*>(w))
        return k->isChecked() ? 1 : 0;  // a check box's value: 1 checked, 0 clear
    if (auto* d = qobject_cast<const QDateTimeEdit*>(w))
        return d->dateTime();
    return {};
}

void FieldBinding::write(const Bound& b)
{
    if (!b.widget || !rs_.IsOpen() || qobject_cast<QLabel*>(b.widget.data()))
        return;
    try {
        if (rs_.Bof() || rs_.Eof())
            return;
        const QVariant now = widgetValue(b.widget);
        const QVariant current = rs_.value(b.field);
        if (qobject_cast<QCheckBox*>(b.widget.data())) {
            if (current.isValid() && !current.isNull() && (current.toDouble() != 0) == (now.toInt() != 0))
                return;
        } else if (DisplayText(current) == now.toString()) {
            return;
        }
        writing_ = true;
        rs_.setValue(b.field, now);
        writing_ = false;
    } catch (const db::DbError& e) {
        writing_ = false;
        emit writeFailed(b.field, e.Number(), e.Description());
    } catch (const std::exception& e) {
        writing_ = false;
        emit writeFailed(b.field, -1, QString::fromUtf8(e.what()));
    }
}

}  // namespace dbmodel
