// The "Event Editor" window: the event's name, one tab per page, the page controls bound to the
// editor model by the field binder, the animated graphic preview, the page's command list with
// its palettes, and Ok, Cancel, Apply and Help. What the controls do is the model's (ED_Event).
#pragma once

#include "controls/KelBase_qt.h"
#include "events/ED_Event.h"
#include "events/EvCmdList_qt.h"
#include "events/EventScript.h"
#include "graphics/ImageResources.h"
#include "graphics/OrlenSheet.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QTabBar;
class QTimer;

namespace Ui {
class FormEDEvent;
}  // namespace Ui

namespace quillon {

class IEventChoosers;
class TFieldBinder;
class TFieldBinding;
class TKelChipSetGraphic;
class TKelDataBase;
class TKelMap;
class TKelMapTree;
class TScriptListBox;

struct TEventEditorContext {
    TKelMapTree* MapTree = nullptr;
    TKelMap* Map = nullptr;
    TKelDataBase* DataBase = nullptr;
    IEventChoosers* Choosers = nullptr;
    std::function<bool(std::string& error)> SaveDataBase;
    std::function<void()> ReloadDataBase;
    // The map's chipset graphic, for pages that show a tile (none: the editor loads the chipset
    // of the map from the database itself).
    TKelChipSetGraphic* ChipSet = nullptr;
    // Finds the character-set and chipset images (none: the project's resource look-up).
    TImageFinder FindImage;
    // Runs the command forms the palettes open (none: only the commands without settings).
    TCommandDialogRunner CommandDialogs;
};

class TFormEDEvent : public TFormKelBase {
    Q_OBJECT

public:
    TFormEDEvent(TEventEditorModel& model, const TEventEditorContext& context, QWidget* parent = nullptr);
    ~TFormEDEvent() override;

    TEventEditorModel& Model() { return mModel; }
    TScriptListBox& CommandList() const;
    QTabBar& Tabs() const;
    // The preview as last drawn (56 x 64).
    const TOrlenBoard& PreviewBoard() const { return mPreview; }
    // Draws the preview for the model's page and counter.
    void DrawPreview();

public slots:
    void ButtonOkClick() override;
    void ButtonApplyClick();
    void ButtonNewPageClick();
    void ButtonCopyPageClick();
    void ButtonPastePageClick();
    void ButtonDeletePageClick();
    void ButtonMusicClick();
    void TabPagesChange(int index);
    void PreviewTimer();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowPages();
    void ShowPage();
    void ShowState();
    void LoadGraphic();
    void PageCommandList(bool down);

    TEventEditorModel& mModel;
    TEventEditorContext mContext;
    std::unique_ptr<Ui::FormEDEvent> mUi;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    TEventScriptConverter mConverter;
    TOrlenSheet mCharBlock;                        // 72 x 128: the page's character
    std::unique_ptr<TKelChipSetGraphic> mOwnChips; // when the context gives none
    TKelChipSetGraphic* mChips = nullptr;
    TOrlenBoard mPreview;
    QTimer* mTimer = nullptr;
    const TKelEventPageItem* mShownScriptPage = nullptr;
    bool mClosed = false;
    TConnection mPagesChanged;
    TConnection mChanged;
    TConnection mGraphicChanged;
    TConnection mRenderScript;
    TConnection mScriptModified;
};

// Opens the modal "Event Editor" on `copy`; `commit` is called on Ok and Apply.
void RunEventEditor(QWidget* owner, const TEventEditorContext& context, TKelEventItem& copy, std::int32_t eventId,
                    bool applyEnabled, const std::function<bool(const TKelEventItem&)>& commit);

}  // namespace quillon
