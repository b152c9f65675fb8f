#include "reference/formlookupeditor.h"

#include "platform/dataset/smpdataset.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/fielddatalink.h"
#include "platform/widgets/handlers.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TFormLookupEditor::TFormLookupEditor(const QString& objectName, const QString& caption, SmpDataset& dataset,
                                     const QString& sourceName, const QString& saveName, const QString& exitName,
                                     const QString& requiredMessage)
    : dataset_(dataset), source_(new DataSource(&dataset, this)), requiredMessage_(requiredMessage)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    source_->setObjectName(sourceName);
    auto* layout = new QVBoxLayout(this);
    fields_ = new QFormLayout;
    fields_->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    layout->addLayout(fields_);
    auto* buttons = new QHBoxLayout;
    save_ = new QToolButton;
    save_->setObjectName(saveName);
    save_->setText(QStringLiteral("Запис"));
    save_->setMinimumWidth(90);
    exit_ = new QToolButton;
    exit_->setObjectName(exitName);
    exit_->setText(QStringLiteral("Изход"));
    exit_->setMinimumWidth(90);
    buttons->addStretch(1);
    buttons->addWidget(save_);
    buttons->addWidget(exit_);
    layout->addStretch(1);
    layout->addLayout(buttons);
    Handlers::connect(save_, &QToolButton::clicked, this, &TFormLookupEditor::save);
    Handlers::connect(exit_, &QToolButton::clicked, this, &TFormLookupEditor::exitClick);
}

DBEdit* TFormLookupEditor::addEdit(const QString& name, const QString& caption, const QString& field, int chars,
                                   bool required, bool enterSaves)
{
    auto* e = new DBEdit;
    e->setObjectName(name);
    e->setDataSource(source_);
    e->setDataField(field);
    e->setMinimumWidth(qMax(60, e->fontMetrics().averageCharWidth() * (chars + 3)));
    fields_->addRow(new QLabel(caption), e);
    if (required) required_ << e;
    if (enterSaves) Handlers::enterSaves(e, [this] { save(); });
    return e;
}

DBLookupComboBox* TFormLookupEditor::addLookup(const QString& name, const QString& caption, const QString& field,
                                               DataSource* list, const QString& keyField, const QString& listField)
{
    auto* c = new DBLookupComboBox;
    c->setObjectName(name);
    c->setDataSource(source_);
    c->setDataField(field);
    c->setListSource(list);
    c->setKeyField(keyField);
    c->setListField(listField);
    c->setMinimumWidth(160);
    fields_->addRow(new QLabel(caption), c);
    return c;
}

bool TFormLookupEditor::editing() const
{
    return dataset_.state() == SmpDataset::State::Edit || dataset_.state() == SmpDataset::State::Insert;
}

// A pending insert or edit is cancelled, and so is a change the server refused, so no half-stored
// row is left in the shared list.
void TFormLookupEditor::dropPending()
{
    if (editing()) dataset_.cancel();
    if (dataset_.isActive() && dataset_.changeCount() > 0) dataset_.cancelUpdates();
}

void TFormLookupEditor::save()
{
    // Text typed into a box still being edited belongs to the row.
    if (!Handlers::commitFocusedEdit(this)) return;
    for (DBEdit* e : std::as_const(required_)) {
        if (e->text().isEmpty()) {
            UiService::current().showMessage(requiredMessage_);
            e->setFocus();
            return;  // nothing typed is lost: the row stays pending and the editor open
        }
    }
    if (editing()) {
        // A change the server refuses is reported; the editor stays open with the row still pending.
        if (!Handlers::run([this] { dataset_.post(); })) return;
    }
    close();
    if (afterSave) afterSave();
}

void TFormLookupEditor::exitClick()
{
    dropPending();
    close();
}

void TFormLookupEditor::closeEvent(QCloseEvent* event)
{
    dropPending();
    Form::closeEvent(event);
}

