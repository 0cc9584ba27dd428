// The project dialogs on the offscreen platform: OK rules and their messages, the project list
// and what rename, delete and the path box do to it.
#include "project/ProjNew_qt.h"
#include "project/ProjPath_qt.h"

#include "platform/MessageBox.h"
#include "project/ProjectSettings.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTreeView>
#include <QTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <deque>
#include <filesystem>
#include <fstream>
#include <vector>

namespace quillon {
namespace {

namespace fs = std::filesystem;

using widgetkit::App;

using widgetkit::Child;
using widgetkit::KeepWidget;

class TBox final : public IMessageBox {
public:
    std::vector<std::string> Texts;
    std::deque<int> Answers;
    TBox() { mPrevious = SetMessageBox(this); }
    ~TBox() override { SetMessageBox(mPrevious); }
    int Show(const std::string& text, int, const void*) override {
        Texts.push_back(text);
        if (Answers.empty())
            return mrYes;
        const int a = Answers.front();
        Answers.pop_front();
        return a;
    }

private:
    IMessageBox* mPrevious = nullptr;
};

class ProjDialogsQtTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        std::string pattern = (fs::temp_directory_path() / "quillon-projdlg-XXXXXX").string();
        Root = std::string(::mkdtemp(pattern.data())) + "/";
        Base = Root + "base/";
        fs::create_directories(Base);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(Root, ignored);
    }
    void MakeProject(const std::string& name, const std::string& title) {
        fs::create_directories(Base + name);
        std::ofstream(Base + name + "/GMK_RT.exe") << "x";
        WriteGameTitle(Base + name + "/", title);
    }
    std::string Root, Base;
    TBox Box;
};

TEST_F(ProjDialogsQtTest, NewProjectProposesAFreeNameAndStaysOpenOnAnError) {
    fs::create_directories(Base + "Project1");
    TProjectNewModel model;
    model.BasePath = Base;
    model.Show();
    TFormProjectNew form(model);
    EXPECT_EQ(form.windowTitle(), "Create New Project");
    auto* folder = Child<QLineEdit>(form, "EditFolder");
    EXPECT_EQ(folder->text(), "Project2");
    EXPECT_EQ(Child<QLineEdit>(form, "EditTitle")->text(), "Untitled");
    EXPECT_EQ(Child<QPushButton>(form, "ButtonPath")->text().toStdString(), Base);
    KeepWidget(form, "project-new");
    folder->setText("Bad:Name");
    form.setResult(0);
    Child<QPushButton>(form, "ButtonOk")->click();
    EXPECT_EQ(form.result(), 0);
    EXPECT_EQ(Box.Texts.back(), kForbiddenCharMessage);
    EXPECT_EQ(folder->text(), "Bad:Name");  // the input stays
    folder->setText("Quest");
    Child<QPushButton>(form, "ButtonOk")->click();
    EXPECT_EQ(form.result(), 1);
    EXPECT_TRUE(fs::is_directory(Base + "Quest"));

    // The path box: a chosen path is shown; the proposed name stays.
    fs::create_directories(Root + "other");
    form.ChooseBasePath = [&](std::string& path) {
        path = Root + "other/";
        return true;
    };
    Child<QPushButton>(form, "ButtonPath")->click();
    EXPECT_EQ(Child<QPushButton>(form, "ButtonPath")->text().toStdString(), Root + "other/");
    EXPECT_EQ(model.BasePath, Root + "other/");
}

TEST_F(ProjDialogsQtTest, OpenListsProjectsAndRenamesAndDeletesThroughTheButtons) {
    MakeProject("Beta", "Second");
    MakeProject("Alpha", "First");
    fs::create_directories(Base + "NotAProject");
    TProjectOpenModel model;
    model.BasePath = Base;
    TFormProjectOpen form(model);
    auto* list = Child<QTreeWidget>(form, "ListProjects");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Alpha");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "First");
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
    EXPECT_EQ(list->columnWidth(0), 88);
    KeepWidget(form, "project-open");

    list->setCurrentItem(list->topLevelItem(1));
    form.RunRename = [](TProjectRenameModel& rename) {
        rename.FolderName = "Gamma";
        return rename.Ok();
    };
    Child<QPushButton>(form, "ButtonRename")->click();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->currentItem()->text(0), "Gamma");
    EXPECT_TRUE(fs::exists(Base + "Gamma/GMK_RT.exe"));

    Box.Answers = {mrNo};
    Child<QPushButton>(form, "ButtonDelete")->click();
    EXPECT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(Box.Texts.back(), DeleteProjectQuestion("Gamma"));
    Child<QPushButton>(form, "ButtonDelete")->click();  // Yes
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_FALSE(fs::exists(Base + "Gamma"));

    list->setCurrentItem(list->topLevelItem(0));
    Child<QPushButton>(form, "ButtonOpen")->click();
    EXPECT_EQ(form.result(), 1);
    EXPECT_EQ(form.FolderName(), "Alpha");
}

TEST_F(ProjDialogsQtTest, PathDialogsEnableOkByTheirRules) {
    TProjectPathModel base(TPathDialogKind::BasePath);
    base.Path = Base;
    TFormProjectPath form(base);
    EXPECT_EQ(form.windowTitle(), "Default Project Path");
    auto* edit = Child<QLineEdit>(form, "EditPath");
    auto* ok = Child<QPushButton>(form, "ButtonOk");
    EXPECT_TRUE(ok->isEnabled());
    edit->setText(QString::fromStdString(Root + "missing"));
    EXPECT_FALSE(ok->isEnabled());
    edit->setText("relative");
    EXPECT_FALSE(ok->isEnabled());
    edit->setText(QString::fromStdString(Root + "base/../base"));
    ASSERT_TRUE(ok->isEnabled());
    ok->click();
    EXPECT_EQ(form.result(), 1);
    EXPECT_EQ(base.Path, Base);
    KeepWidget(form, "project-base-path");

    TProjectPathModel disk(TPathDialogKind::DiskPath);
    disk.Path = Root + "disk";
    TFormProjectPath diskForm(disk);
    EXPECT_EQ(diskForm.windowTitle(), "Choose Disk Path");
    EXPECT_TRUE(Child<QPushButton>(diskForm, "ButtonOk")->isEnabled());  // need not exist
    Box.Answers = {mrNo};
    Child<QPushButton>(diskForm, "ButtonOk")->click();
    EXPECT_NE(diskForm.result(), 1);
    EXPECT_EQ(Box.Texts.back(), kCreateFolderQuestion);
    Child<QPushButton>(diskForm, "ButtonOk")->click();
    EXPECT_EQ(diskForm.result(), 1);
    EXPECT_TRUE(fs::is_directory(Root + "disk"));
}

TEST_F(ProjDialogsQtTest, OpenStartsOnTheListSoDownAndEnterOpenTheSecondProject) {
    MakeProject("Alpha", "First");
    MakeProject("Beta", "Second");
    TProjectOpenModel model;
    model.BasePath = Base;
    TFormProjectOpen form(model);
    form.RunRename = [](TProjectRenameModel&) { return false; };  // the key must not reach "Change Name"
    QTimer::singleShot(0, &form, [&] {
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        auto* list = Child<QTreeWidget>(form, "ListProjects");
        EXPECT_EQ(QApplication::focusWidget(), list);
        EXPECT_TRUE(list->topLevelItem(0)->isSelected());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        if (form.isVisible())
            form.Cancel();
    });
    EXPECT_EQ(form.RunModal(), mrOk);
    EXPECT_EQ(form.FolderName(), "Beta");
}

TEST_F(ProjDialogsQtTest, TheBasePathDialogShowsItsFolderInSight) {
    // Enough folders above the chosen one that it would lie below the view.
    for (int i = 0; i < 120; ++i)
        fs::create_directories(Base + "a" + std::to_string(1000 + i));
    fs::create_directories(Base + "zz/inner");
    TProjectPathModel model(TPathDialogKind::BasePath);
    model.Path = Base + "zz/inner";
    TFormProjectPath form(model);
    form.resize(400, 320);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* tree = Child<QTreeView>(form, "FolderTree");
    const auto inSight = [tree] {
        const QModelIndex current = tree->currentIndex();
        return current.isValid() && tree->viewport()->rect().contains(tree->visualRect(current).center());
    };
    EXPECT_TRUE(QTest::qWaitFor(inSight, 5000));
    EXPECT_TRUE(tree->isExpanded(tree->currentIndex().parent()));  // the tree opened down to it
    EXPECT_EQ(Child<QLineEdit>(form, "EditPath")->text().toStdString(), Base + "zz/inner");
}

// Every input of the project dialogs has a name a screen reader announces, and the labels'
// letters reach their edits.
TEST_F(ProjDialogsQtTest, EveryInputIsNamedAndTheLabelsLettersReachTheirEdits) {
    MakeProject("Alpha", "First");
    TProjectNewModel created;
    created.BasePath = Base;
    created.BasePathNote = "Said under the path";
    created.Show();
    TFormProjectNew newForm(created);
    EXPECT_EQ(Child<QLabel>(newForm, "LabelBasePathNote")->text(), "Said under the path");
    TProjectOpenModel opened;
    opened.BasePath = Base;
    TFormProjectOpen openForm(opened);
    TProjectRenameModel renamed;
    renamed.BasePath = Base;
    renamed.Show("Alpha", "First");
    TFormProjectRename renameForm(renamed);
    TProjectPathModel path(TPathDialogKind::BasePath);
    TFormProjectPath pathForm(path);
    for (QWidget* form : std::vector<QWidget*>{&newForm, &openForm, &renameForm, &pathForm})
        EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(form), QStringList()) << form->objectName().toStdString();
    for (QWidget* form : std::vector<QWidget*>{&newForm, &renameForm}) {
        widgetkit::ShowActive(*form);
        QTest::keyClick(form, Qt::Key_T, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), form->findChild<QWidget*>("EditTitle")) << form->objectName().toStdString();
        QTest::keyClick(form, Qt::Key_F, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), form->findChild<QWidget*>("EditFolder")) << form->objectName().toStdString();
        form->hide();
    }
}

}  // namespace
}  // namespace quillon
