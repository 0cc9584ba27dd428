#include "database/ED_AnimationDialogs_qt.h"

#include "database/DataBasePage.h"

#include "controls/ValueSlider_qt.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

namespace quillon {

void TFormEDAnimationDialog::Make(const char* className, const QString& caption) {
    setObjectName(QString::fromLatin1(className).mid(1));  // "FormEDAnimationCell"
    setWindowTitle(caption);
    SetHelpContext(DataBaseTabInfo(dtAnimation).HelpContext);
    auto* main = new QVBoxLayout(this);
    auto* body = new QWidget(this);
    body->setObjectName(QStringLiteral("PanelSettings"));
    auto* fields = new QFormLayout(body);
    fields->setContentsMargins(0, 0, 0, 0);
    mFields = fields;
    main->addWidget(body);
    mExtra = new QVBoxLayout;
    main->addLayout(mExtra, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(tr("&Ok"), this);
    ok->setObjectName(QStringLiteral("ButtonOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    auto* help = new QPushButton(tr("&Help"), this);
    help->setObjectName(QStringLiteral("ButtonHelp"));
    for (QPushButton* button : {ok, cancel, help})
        buttons->addWidget(button);
    main->addLayout(buttons);
    ConnectStandardButtons();
    mBinder = new TFieldBinder(*mBinding, *body, fields);
    connect(mBinder, &TFieldBinder::FieldChanged, this, [this] {
        for (const auto& show : mFollowers)
            show();
    });
}

void TFormEDAnimationDialog::Follow(std::function<void()> show) {
    show();
    mFollowers.push_back(std::move(show));
}

TValueSlider* TFormEDAnimationDialog::AddSlider(const char* box, const char* name, const QString& caption, int max,
                                                std::function<int(std::int32_t)> toSlider,
                                                std::function<std::int32_t(int)> fromSlider) {
    auto* spin = findChild<QSpinBox*>(QString::fromLatin1(box));
    if (!spin)
        return nullptr;
    // The form layout that holds the box (the binder may have set long runs in two columns).
    QFormLayout* form = nullptr;
    int row = -1;
    QFormLayout::ItemRole role{};
    for (QFormLayout* candidate : spin->parentWidget()->findChildren<QFormLayout*>()) {
        candidate->getWidgetPosition(spin, &row, &role);
        if (row >= 0) {
            form = candidate;
            break;
        }
    }
    auto* slider = new TValueSlider(0, max, [fromSlider](int p) { return QString::number(fromSlider(p)); },
                                    spin->parentWidget());
    slider->setObjectName(QString::fromLatin1(name));
    slider->SetFieldName(AccessibleCaption(caption));
    auto* label = new QLabel(caption, spin->parentWidget());
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    label->setBuddy(slider->Slider());
    if (form)
        form->insertRow(row + 1, label, slider);
    else
        mFields->addRow(label, slider);
    AddMissingMnemonics(*this, {label});
    connect(slider, &TValueSlider::ValueEdited, spin, [spin, fromSlider](int position) {
        spin->setValue(fromSlider(position));  // the binder takes it from the box
    });
    Follow([spin, slider, label, toSlider] {
        slider->SetValue(toSlider(spin->value()));
        slider->setEnabled(spin->isEnabled());
        label->setEnabled(spin->isEnabled());
    });
    return slider;
}

QWidget* TFormEDAnimationDialog::AddSample(const char* name, const QString& caption,
                                           std::function<std::uint32_t()> colour) {
    auto* sample = new QFrame(mFields->parentWidget());
    sample->setObjectName(QString::fromLatin1(name));
    sample->setFrameShape(QFrame::Box);
    sample->setFixedSize(96, 32);
    sample->setAutoFillBackground(true);
    sample->setAccessibleName(AccessibleCaption(caption));
    auto* label = new QLabel(caption, mFields->parentWidget());
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    mFields->addRow(label, sample);
    Follow([sample, colour] {
        const std::uint32_t rgb = colour();
        QPalette palette = sample->palette();
        palette.setColor(QPalette::Window, QColor(static_cast<int>(rgb & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                                                  static_cast<int>(rgb >> 16 & 0xFF)));
        sample->setPalette(palette);
    });
    return sample;
}

TFormEDAnimationDialog::~TFormEDAnimationDialog() { delete mBinder; }

}  // namespace quillon
