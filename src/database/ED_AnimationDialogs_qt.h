// The dialogs of the battle animation page: one modal form over one dialog record of
// ED_AnimationDialogs.h, its fields built by the field binder, with "&Ok", "Cancel" and "&Help".
#pragma once

#include "controls/FieldBinder_qt.h"
#include "controls/KelBase_qt.h"

#include <QFormLayout>
#include <QVBoxLayout>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace quillon {

class TValueSlider;

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
    // A slider 0..max in a row of its own under the number box `box`, named `name`: it shows
    // toSlider(box value) and sets the box to fromSlider(position), so each follows the other.
    TValueSlider* AddSlider(const char* box, const char* name, const QString& caption, int max,
                            std::function<int(std::int32_t)> toSlider, std::function<std::int32_t(int)> fromSlider);
    // A sample area under the fields, named `name`, filled with colour() (red | green << 8 |
    // blue << 16) and filled again after every change of a field.
    QWidget* AddSample(const char* name, const QString& caption, std::function<std::uint32_t()> colour);

private:
    void Make(const char* className, const QString& caption);
    // Runs `show` now and after every change of a field.
    void Follow(std::function<void()> show);

    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    QVBoxLayout* mExtra = nullptr;
    QFormLayout* mFields = nullptr;
    std::vector<std::function<void()>> mFollowers;
};

}  // namespace quillon
