// The hero page and its dialogs headless: the page on the sample project's database, a field
// changed and applied and found in the file; a stroke on the large graph both ways; the
// learning dialog without a skill to offer; a picture of every window.
#include "PageWidgetKit.h"

#include "controls/Cp932Edit_qt.h"
#include "database/ED_PlayerExp_qt.h"
#include "database/ED_PlayerGraph_qt.h"
#include "database/ED_PlayerLearning_qt.h"
#include "database/ED_PlayerParamGen_qt.h"
#include "database/ED_PlayerParameter_qt.h"
#include "database/ED_Player_qt.h"
#include "events/FakeEventChoosers.h"
#include "project/ProjectManager.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTreeView>

#include <algorithm>
#include <filesystem>

namespace quillon {
namespace {

using namespace widgetkit;

class HeroPageWidgetTest : public pagekit::TSampleDataBaseTest {
protected:
    static constexpr QSize kPageSize{1000, 600};
};

TEST_F(HeroPageWidgetTest, TheFramesHeroTabEditsAndAppliesTheHero) {
    ASSERT_GE(mDataBase.Player.Count(), 1);
    // The project's own walk and face graphics are found for the previews.
    namespace fs = std::filesystem;
    const fs::path rtp = fs::path(QUILLON_BINARY_DIR) / "bin" / "RTP";
    for (const char* kind : {"CharSet", "FaceSet"}) {
        fs::create_directories(fs::path(mSample) / kind);
        for (const auto& entry : fs::directory_iterator(rtp / kind))
            fs::copy_file(entry.path(), fs::path(mSample) / kind / entry.path().filename(), fs::copy_options::skip_existing);
    }
    SetProjectPath(mSample);
    struct TBack {
        ~TBack() { SetProjectPath(""); }
    } back;
    TFormDataBase form(mContext);
    auto* page = OpenTab<TFormEDPlayer>(form, dtHero);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(InputsWithoutAccessibleName(&form), QStringList());
    EXPECT_EQ(page->NameEdit().accessibleName(), "Name");
    EXPECT_EQ(page->NameEdit().Bytes(), mDataBase.Player.Items(0)->Name);
    EXPECT_FALSE(form.ButtonApply().isEnabled());  // showing the hero wrote nothing
    KeepWidget(form, "database-hero-page");
    Settle();
    // At the window's own size the fields fit across: only the height scrolls.
    EXPECT_EQ(Child<QScrollArea>(*page, "FieldsScroll")->horizontalScrollBar()->maximum(), 0);

    page->NameEdit().setFocus();
    page->NameEdit().selectAll();
    QTest::keyClicks(&page->NameEdit(), "Ulric");
    QSpinBox* initial = Child<QSpinBox>(*page, "EditInitialLevel");
    initial->setValue(7);
    EXPECT_EQ(Child<QSpinBox>(*page, "EditMaxLevel")->minimum(), 7);
    Child<QCheckBox>(*page, "CheckTwoSwords")->click();
    EXPECT_EQ(Child<QLabel>(*page, "LabelShield")->text(), "Weapon:");
    EXPECT_TRUE(Child<QLabel>(*page, "LabelExpSummary")->text().startsWith("Standard="));
    Apply(form);

    const auto saved = OnDisk();
    const TKelPlayerItem* hero = saved->Player.Items(0);
    EXPECT_EQ(hero->Name, "Ulric");
    EXPECT_EQ(hero->InitialLevel, 7);
    EXPECT_EQ(hero->TwoSwords, 1);
    form.ButtonCancelClick();
}

TEST_F(HeroPageWidgetTest, TheWalkAndFaceSelectorsOpenAtTheirPlaceInTheFrame) {
    TFormDataBase form(mContext);
    form.move(23, 17);
    auto* page = OpenTab<TFormEDPlayer>(form, dtHero);
    ASSERT_NE(page, nullptr);
    const QPoint client = form.mapToGlobal(QPoint(0, 0));
    std::vector<QString> titles;
    std::vector<QPoint> offsets;
    const TScopedModalRunner runner([&](TFormKelBase& dialog) {
        dialog.show();
        Settle();
        titles.push_back(dialog.windowTitle());
        offsets.push_back(dialog.pos() - client);
        dialog.hide();
        return static_cast<int>(mrCancel);
    });
    Child<QPushButton>(*page, "DashWalk")->click();
    Child<QPushButton>(*page, "DashFace")->click();
    EXPECT_EQ(titles, (std::vector<QString>{"Select Walk Graphic", "Select Face Graphic"}));
    EXPECT_EQ(offsets, (std::vector<QPoint>{{180, 44}, {180, 44}}));
    form.ButtonCancelClick();
}

TEST_F(HeroPageWidgetTest, ADoubleClickedGraphOpensItsCurveAndOkKeepsTheStroke) {
    testkit::TFakeEventChoosers choosers;
    TFormEDPlayer page(mContext, &choosers);
    pagekit::StartPage(page, mModified, kPageSize);
    std::vector<int> tabs;
    const TScopedModalRunner runner([&](TFormKelBase& dialog) {
        auto* curves = dynamic_cast<TFormEDPlayerParameter*>(&dialog);
        if (!curves)
            return static_cast<int>(mrCancel);
        tabs.push_back(curves->Tabs().currentIndex());
        QWidget* graph = Child<QWidget>(*curves, "Graph");
        Mouse(graph, QEvent::MouseButtonPress, {95, 100}, Qt::LeftButton, Qt::LeftButton);
        Mouse(graph, QEvent::MouseMove, {195, 50}, Qt::NoButton, Qt::LeftButton);
        Mouse(graph, QEvent::MouseButtonRelease, {195, 50}, Qt::LeftButton, Qt::NoButton);
        return static_cast<int>(mrOk);
    });
    QTest::mouseDClick(&page.Graph(2), Qt::LeftButton);
    ASSERT_EQ(tabs, std::vector<int>{2});
    const TKelPlayerItem& hero = page.Model().Hero();
    for (int level = 10; level <= 20; ++level)
        EXPECT_EQ(hero.Parameter(2, level), ((20 - level) * 150 + (level - 10) * 200) / 10) << level;
    EXPECT_GE(mModified, 1);
}

TEST_F(HeroPageWidgetTest, TheAddingRowOfTheLearningListAppendsInLevelOrder) {
    testkit::TFakeEventChoosers choosers;
    TFormEDPlayer page(mContext, &choosers);
    pagekit::StartPage(page, mModified, kPageSize);
    TKelPlayerItem& hero = page.Model().Hero();
    auto* list = Child<QTreeView>(page, "ListLearning");
    ASSERT_EQ(list->model()->rowCount(), hero.Learning.Count() + 1);
    const int before = hero.Learning.Count();
    std::vector<std::int32_t> taught;
    for (int i = 0; i < before; ++i)
        taught.push_back(hero.Learning.Items(i)->SkillId);
    TPlayerLearningModel::LastLevel() = 1;
    const TScopedModalRunner runner([&](TFormKelBase& dialog) {
        if (!dynamic_cast<TFormEDPlayerLearning*>(&dialog))
            return static_cast<int>(mrCancel);
        Child<QSpinBox>(dialog, "EditLevel")->setValue(1);
        return static_cast<int>(mrOk);
    });
    const int adding = list->model()->rowCount() - 1;
    EXPECT_EQ(pagekit::RowText(*list, adding), "");
    page.LearningEdit(adding);
    if (before == mDataBase.Skill.Count()) {
        EXPECT_EQ(hero.Learning.Count(), before);  // nothing left to teach
        return;
    }
    ASSERT_EQ(hero.Learning.Count(), before + 1);
    EXPECT_EQ(list->model()->rowCount(), before + 2);
    // The new entry (the skill not taught before) is in its place and selected.
    int added = -1;
    for (int i = 0; i < hero.Learning.Count(); ++i)
        if (std::find(taught.begin(), taught.end(), hero.Learning.Items(i)->SkillId) == taught.end())
            added = i;
    ASSERT_GE(added, 0);
    EXPECT_EQ(hero.Learning.Items(added)->Level, 1);
    EXPECT_EQ(CurrentRow(*list), added);
    EXPECT_EQ(pagekit::RowText(*list, added), "L- 1");
    for (int i = 1; i < hero.Learning.Count(); ++i)
        EXPECT_LE(hero.Learning.Items(i - 1)->Level, hero.Learning.Items(i)->Level);
}

TEST_F(HeroPageWidgetTest, EnterOnTheLearningListEditsTheCurrentRowOrAdds) {
    ASSERT_GE(mDataBase.Skill.Count(), 2);
    TKelPlayerItem& hero = *mDataBase.Player.Items(0);
    hero.Learning.Clear();
    TKelPlayerLearningItem& taught = hero.Learning.Append();
    taught.Level = 5;
    taught.SkillId = mDataBase.Skill.Items(1)->ID;
    TFormDataBase form(mContext);
    auto* page = OpenTab<TFormEDPlayer>(form, dtHero);
    ASSERT_NE(page, nullptr);
    auto* list = Child<QTreeView>(*page, "ListLearning");
    ASSERT_EQ(list->model()->rowCount(), 2);
    std::vector<int> shownLevels;
    int nextLevel = 0;
    const TScopedModalRunner runner([&](TFormKelBase& dialog) {
        if (!dynamic_cast<TFormEDPlayerLearning*>(&dialog))
            return static_cast<int>(mrCancel);
        auto* level = Child<QSpinBox>(dialog, "EditLevel");
        shownLevels.push_back(level->value());
        level->setValue(nextLevel);
        return static_cast<int>(mrOk);
    });
    list->setFocus();
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        ShowCurrentRow(*list, 0);
        nextLevel = key == Qt::Key_Return ? 9 : 12;
        QTest::keyClick(list, static_cast<Qt::Key>(key));
    }
    EXPECT_EQ(shownLevels, (std::vector<int>{5, 9}));
    ASSERT_EQ(hero.Learning.Count(), 1) << "an entry row edits";
    EXPECT_EQ(hero.Learning.Items(0)->Level, 12);
    // The empty last row adds.
    ShowCurrentRow(*list, 1);
    nextLevel = 3;
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(hero.Learning.Count(), 2);
    EXPECT_EQ(hero.Learning.Items(0)->Level, 3);
    EXPECT_EQ(pagekit::RowText(*list, 0), "L- 3");
    EXPECT_TRUE(form.isVisible()) << "the window's default button stays out of it";
    form.ButtonCancelClick();
}

TEST_F(HeroPageWidgetTest, AStrokeOnTheLargeGraphRunsEitherWay) {
    TParameterCurves curves{};
    for (auto& curve : curves)
        curve.fill(100);
    TPlayerParameterModel model(curves, 4);
    TFormEDPlayerParameter dialog(model);
    dialog.show();
    Settle();
    EXPECT_EQ(InputsWithoutAccessibleName(&dialog), QStringList());
    QWidget* graph = Child<QWidget>(dialog, "Graph");
    // Mind: two points of value a pixel. Right to left from level 30 to 20.
    Mouse(graph, QEvent::MouseButtonPress, {295, 250 - 150}, Qt::LeftButton, Qt::LeftButton);
    Mouse(graph, QEvent::MouseMove, {195, 250 - 50}, Qt::NoButton, Qt::LeftButton);
    for (int level = 20; level <= 30; ++level)
        EXPECT_EQ(model.Curves()[4][level - 1], ((level - 20) * 300 + (30 - level) * 100) / 10) << level;
    EXPECT_EQ(Child<QSpinBox>(dialog, "EditLevel")->value(), 20);
    EXPECT_EQ(Child<QSpinBox>(dialog, "EditValue")->value(), 100);
    Mouse(graph, QEvent::MouseButtonRelease, {195, 200}, Qt::LeftButton, Qt::NoButton);
    // Ctrl+Tab to the next tab; Max MP's box then allows 0.
    Key(&dialog, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(dialog.Tabs().currentIndex(), 5);
    EXPECT_EQ(Child<QGroupBox>(dialog, "GroupValue")->title(), "Agility");
    dialog.Tabs().setCurrentIndex(1);
    EXPECT_EQ(Child<QSpinBox>(dialog, "EditValue")->minimum(), 0);
    Child<QPushButton>(dialog, "ButtonGenius")->click();
    KeepWidget(dialog, "database-hero-curve-of-abilities");
}

TEST_F(HeroPageWidgetTest, TheExperienceDialogsBoxesAndSlidersFollowEachOther) {
    TPlayerExpModel model(TExpCurve{30, 30, 0});
    TFormEDPlayerExp dialog(model);
    dialog.show();
    Settle();
    EXPECT_EQ(InputsWithoutAccessibleName(&dialog), QStringList());
    EXPECT_EQ(Child<TPlayerExpTable>(dialog, "TableTotal")->Lines().at(49), QString::fromUtf8("\xEF\xBC\xAC" "50 : 614301"));
    Child<QSlider>(dialog, "SliderBasic")->setValue(50);
    Child<QSpinBox>(dialog, "EditIncrease")->setValue(50);
    Child<QSlider>(dialog, "SliderCorrection")->setValue(40);
    EXPECT_EQ(Child<QSpinBox>(dialog, "EditBasic")->value(), 50);
    EXPECT_EQ(Child<QSlider>(dialog, "SliderIncrease")->value(), 50);
    EXPECT_EQ(model.Curve(), (TExpCurve{50, 50, 40}));
    EXPECT_EQ(Child<TPlayerExpTable>(dialog, "TableTotal")->Lines().at(41), QString::fromUtf8("\xEF\xBC\xAC" "42 : ------"));
    KeepWidget(dialog, "database-hero-curve-of-experience");
}

TEST_F(HeroPageWidgetTest, TheLearningDialogWithEverySkillTaughtOffersNoOk) {
    TKelPlayerItem& hero = *mDataBase.Player.Items(0);
    hero.Learning.Clear();
    for (int i = 0; i < mDataBase.Skill.Count(); ++i)
        hero.Learning.Append().SkillId = mDataBase.Skill.Items(i)->ID;
    TPlayerLearningModel full(mDataBase, hero, hero.Learning.Count());
    TFormEDPlayerLearning none(full);
    EXPECT_FALSE(Child<QPushButton>(none, "ButtonOk")->isEnabled());

    TPlayerLearningModel edit(mDataBase, hero, 0);
    TFormEDPlayerLearning one(edit);
    one.show();
    Settle();
    EXPECT_TRUE(Child<QPushButton>(one, "ButtonOk")->isEnabled());
    EXPECT_EQ(Child<QListWidget>(one, "ListSkills")->count(), 1);
    EXPECT_EQ(InputsWithoutAccessibleName(&one), QStringList());
    KeepWidget(one, "database-hero-learning");

    TPlayerParamGenModel genModel(1, 999, 20, 300);
    TFormEDPlayerParamGen gen(genModel);
    KeepWidget(gen, "database-hero-create-curve");
}

}  // namespace
}  // namespace quillon
