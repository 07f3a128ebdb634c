#include "records/FieldTable.h"

#include "core/Globals.h"
#include "platform/dbmodel/FieldBinding.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/ByteLimit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

void SetBackground(QWidget* box, const QColor& color)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, color);
    box->setPalette(p);
}

}  // namespace

// ---- Checks ------------------------------------------------------------------------------------

QString MissingFieldsMessage(const std::vector<RequiredField>& required, const BoxTextFn& text)
{
    QString message;
    for (const RequiredField& r : required)
        if (vb::Trim(text(r.box)).isEmpty())
            message += r.line + gCrLf;
    return message;
}

const RecordField* FieldOfBox(const std::vector<RecordField>& fields, int box)
{
    for (const RecordField& f : fields)
        if (f.box == box)
            return &f;
    return nullptr;
}

int FirstTooWideBox(const std::vector<RecordField>& fields, const std::vector<int>& boxes, const BoxTextFn& text)
{
    for (int box : boxes) {
        const RecordField* f = FieldOfBox(fields, box);
        if (f && f->maxLength > 0 && vb::ByteLen(text(box)) > f->maxLength)
            return box;
    }
    return -1;
}

QString TooWideMessage(int maxLength)
{
    return QStringLiteral("'") + LoadResString(316) + QString::number(maxLength) + LoadResString(317);
}

QString SaveWidthTitle() { return LoadResString(318); }

QString UnwritableMessage(const QString& caption, const QString& text, const QString& failureText)
{
    QString name = caption;
    name.remove(QLatin1Char('*'));
    return QStringLiteral("「") + vb::Trim(name) + QStringLiteral("」不能存入「") + text +
           QStringLiteral("」,請輸入正確的數值。") + gCrLf + failureText;
}

// ---- The boxes ---------------------------------------------------------------------------------

RecordBoxes::RecordBoxes(QObject* parent) : QObject(parent)
{
    binding_ = new dbmodel::FieldBinding(this);
    connect(binding_, &dbmodel::FieldBinding::writeFailed, this,
            [this](const QString& field, long, const QString& description) {
                for (const RecordField& f : fields_) {
                    if (f.bound && f.column.compare(field, Qt::CaseInsensitive) == 0) {
                        failures_[f.box] = {Text(f.box), description};
                        return;
                    }
                }
            });
}

void RecordBoxes::Build(const std::vector<RecordField>& fields, int boxCount, int labelCount,
                        const std::function<BoxPlace(const RecordField&)>& place, QObject* watcher,
                        const QString& labelPrefix, const QString& boxPrefix)
{
    fields_ = fields;
    boxes_.assign(size_t(boxCount), nullptr);
    labels_.assign(size_t(labelCount), nullptr);
    for (const RecordField& f : fields_) {
        const BoxPlace p = place(f);
        QWidget* box;
        if (f.flags & RecordField::kMultiLine) {
            auto* memo = new QPlainTextEdit(p.page);
            memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            if (f.maxLength > 0)
                SetByteLimit(memo, f.maxLength);
            box = memo;
            connect(memo, &QPlainTextEdit::textChanged, this, [this, i = f.box] {
                if (Changed)
                    Changed(i);
            });
        } else {
            auto* line = new QLineEdit(p.page);
            if (f.maxLength > 0)
                SetByteLimit(line, f.maxLength);
            box = line;
            connect(line, &QLineEdit::textChanged, this, [this, i = f.box] {
                if (Changed)
                    Changed(i);
            });
        }
        box->setObjectName(boxPrefix + QStringLiteral("_%1").arg(f.box));
        box->setToolTip(f.tip);
        box->setAttribute(Qt::WA_Hover);
        if (watcher)
            box->installEventFilter(watcher);
        box->setGeometry(p.box);
        SetBackground(box, BoxColor());
        boxes_[size_t(f.box)] = box;
        if (f.label >= 0) {
            auto* label = new QLabel(f.caption, p.page);
            label->setObjectName(labelPrefix + QStringLiteral("_%1").arg(f.label));
            label->setAlignment(p.labelAlign);
            label->setGeometry(p.label);
            labels_[size_t(f.label)] = label;
        }
        if (f.bound)
            binding_->bind(box, f.column);
    }
    SetEditing(false);
}

QWidget* RecordBoxes::Box(int n) const
{
    return n >= 0 && n < int(boxes_.size()) ? boxes_[size_t(n)] : nullptr;
}

QLineEdit* RecordBoxes::Line(int n) const { return qobject_cast<QLineEdit*>(Box(n)); }

QPlainTextEdit* RecordBoxes::Memo(int n) const { return qobject_cast<QPlainTextEdit*>(Box(n)); }

QString RecordBoxes::Text(int n) const
{
    if (QLineEdit* e = Line(n))
        return e->text();
    if (QPlainTextEdit* p = Memo(n))
        return p->toPlainText();
    return {};
}

void RecordBoxes::SetText(int n, const QString& text)
{
    if (QLineEdit* e = Line(n))
        e->setText(text);
    else if (QPlainTextEdit* p = Memo(n))
        p->setPlainText(text);
}

int RecordBoxes::IndexOf(const QObject* box) const
{
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i] && boxes_[i] == box)
            return int(i);
    return -1;
}

void RecordBoxes::LoadCaptions()
{
    for (const RecordField& f : fields_)
        if (f.label >= 0 && f.labelId > 0 && labels_[size_t(f.label)])
            labels_[size_t(f.label)]->setText(LoadResString(f.labelId));
}

void RecordBoxes::LoadRecord(const db::Recordset&) { binding_->pull(); }

void RecordBoxes::SetEditing(bool editing)
{
    editing_ = editing;
    for (QWidget* w : boxes_) {
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->setReadOnly(!editing);
        else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
            p->setReadOnly(!editing);
    }
}

void RecordBoxes::ClearUnbound()
{
    for (const RecordField& f : fields_)
        if (!f.bound)
            SetText(f.box, QString());
}

void RecordBoxes::SetFocused(int n, bool focused)
{
    if (QWidget* box = Box(n))
        SetBackground(box, focused ? EditingColor() : idle_);
}

void RecordBoxes::SetIdleColor(const QColor& color)
{
    idle_ = color;
    for (QWidget* box : boxes_)
        if (box)
            SetBackground(box, idle_);
}

bool RecordBoxes::RefuseUnwritable(const QString& failureText)
{
    failures_.clear();
    binding_->push();
    if (failures_.empty())
        return false;
    const auto& [box, failure] = *failures_.begin();
    const RecordField* f = FieldOfBox(fields_, box);
    // A one-character caption (a unit after another box) names the box less well than its column.
    QString name = f ? vb::Trim(f->caption) : QString();
    if (f && name.size() < 2)
        name = f->column;
    ui::MsgBox(UnwritableMessage(name, failure.text, failureText));
    if (Reveal)
        Reveal(box);
    if (QWidget* w = Box(box))
        w->setFocus(Qt::OtherFocusReason);
    return true;
}

bool RecordBoxes::RefuseTooWide(const std::vector<int>& boxes, QString (*message)(int maxLength))
{
    const int wide = FirstTooWideBox(fields_, boxes, [this](int box) { return Text(box); });
    if (wide < 0)
        return false;
    ui::MsgBox(message(FieldOfBox(fields_, wide)->maxLength), ui::Buttons::OK, ui::Icon::Question,
               SaveWidthTitle());
    if (Reveal)
        Reveal(wide);
    if (QLineEdit* box = Line(wide)) {
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    } else if (QPlainTextEdit* memo = Memo(wide)) {
        memo->setFocus(Qt::OtherFocusReason);
        memo->selectAll();
    }
    return true;
}
