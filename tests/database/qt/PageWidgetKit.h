// What the database widget tests share: a page started as the frame starts it, and a fixture
// with the sample project (made from the starter content) whose database the "DataBase" window
// opens on a tab.
#pragma once

#include "app/AppTestKit.h"
#include "kit/WidgetKit.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "database/DataBaseForm_qt.h"
#include "database/DataBasePage_qt.h"
#include "database/PageRows_qt.h"
#include "platform/Clipboard.h"
#include "tools/lib/SampleProject.h"

#include <QPushButton>
#include <QSize>
#include <QTabBar>
#include <QTest>

#include <memory>
#include <string>

namespace quillon::pagekit {

// Starts the page as the frame does: its changes counted in `modified`, laid out at `size`,
// shown, its first entry loaded.
// The text a list or table view shows in a cell.
inline QString RowText(const QAbstractItemView& view, int row, int column = 0) {
    return view.model()->index(row, column).data().toString();
}

inline void StartPage(TFormDataBaseBase& page, int& modified, QSize size = {760, 600}) {
    page.OnModified = [&modified] { ++modified; };
    page.resize(size);
    page.show();
    page.Start();
    widgetkit::Settle();
}

// The sample project in mSample with its database loaded into mDataBase and handed to pages by
// mContext; the pages' remembered positions cleared, the editor mode on, a clipboard of the
// test's own and message boxes recorded in mBox.
class TSampleDataBaseTest : public apptest::TTempFolderTest {
protected:
    void SetUp() override {
        TTempFolderTest::SetUp();
        widgetkit::App();
        mSample = mRoot + "/Sample/";
        MakeSampleProject(mSample);
        mDataBase.Load(mSample);
        mContext.DataBase = &mDataBase;
        mContext.ProjectPath = mSample;
        DataBaseMemory() = {};
        mPreviousClipboard = SetClipboard(&mClipboard);
    }
    void TearDown() override {
        SetClipboard(mPreviousClipboard);
        TTempFolderTest::TearDown();
    }

    // The database file as it is on disk now.
    std::unique_ptr<TKelDataBase> OnDisk() const {
        auto read = std::make_unique<TKelDataBase>();
        read->LoadFromFile(mSample + TKelDataBase::kFileName);
        return read;
    }

    // Opens the window on a tab (at `size` when one is given) and answers its page as T; null,
    // with a failure, when the tab or the page is not what was asked for.
    template <class T = TFormDataBaseBase>
    static T* OpenTab(TFormDataBase& form, int tab, QSize size = {}) {
        DataBaseMemory().LastTab = tab;
        if (size.isValid())
            form.resize(size);
        widgetkit::ShowActive(form);
        EXPECT_EQ(form.TabControl().currentIndex(), tab);
        T* page = dynamic_cast<T*>(form.Page());
        EXPECT_NE(page, nullptr) << "tab " << tab;
        return page;
    }

    // "&Apply" clicked while it is enabled; it disables itself.
    static void Apply(TFormDataBase& form) {
        ASSERT_TRUE(form.ButtonApply().isEnabled());
        QTest::mouseClick(&form.ButtonApply(), Qt::LeftButton);
        EXPECT_FALSE(form.ButtonApply().isEnabled());
    }

    const TEditorModeScope mEditor{true};
    apptest::TRecordingMessageBox mBox;
    std::string mSample;
    TKelDataBase mDataBase;
    TDataBaseContext mContext;
    TMemoryClipboard mClipboard;
    IClipboard* mPreviousClipboard = nullptr;
    int mModified = 0;
};

}  // namespace quillon::pagekit
