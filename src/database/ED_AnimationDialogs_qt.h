// The dialogs of the battle animation page: one modal form over one dialog record of
// ED_AnimationDialogs.h, its fields built by the field binder, with "&Ok", "Cancel" and "&Help".
#pragma once

#include "controls/FieldBinder_qt.h"
#include "controls/KelBase_qt.h"

#include <QFormLayout>
#include <QVBoxLayout>

#include <memory>

namespace quillon {

class TFormEDAnimationDialog : public TFormKelBase {
    Q_OBJECT
public:
    // class name: "TFormEDAnimationCell" ...; the record stays the caller's.
    template <class R>
    TFormEDAnimationDialog(QWidget* parent, const char* className, const QString& caption, const TFieldForm& form,
                           R& record)
        : TFormKelBase(parent), mBinding(std::make_unique<TFieldBinding>(form, record)) {
        Make(className, caption);
    }
    ~TFormEDAnimationDialog() override;

    TFieldBinder& Binder() const { return *mBinder; }
    // Where a dialog puts what the fields do not hold (the many-cells frame list).
    QVBoxLayout* Extra() const { return mExtra; }

private:
    void Make(const char* className, const QString& caption);

    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    QVBoxLayout* mExtra = nullptr;
};

}  // namespace quillon
