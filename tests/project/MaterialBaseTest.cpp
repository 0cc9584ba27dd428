// The material manager's model: the size rules, import with its refusals and the transparent
// colour, export as format conversion, and a delete that never leaves the project's folder.
#include "SelTestKit.h"
#include "../graphics/DeclaredPicture.h"

#include "platform/FileUtils.h"
#include "platform/LhaArchiveCommand.h"
#include "platform/MessageBox.h"
#include "project/MaterialBase.h"
#include "project/TransparentPicker.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::seltest;

namespace {

struct TSizeCase {
    int Kind;
    int Width;
    int Height;
    bool Accepted;
};

TEST(MaterialRules, ImportSizesPerKind) {
    const TSizeCase cases[] = {
        {mkBackdrop, 320, 160, true},  {mkBackdrop, 320, 161, false}, {mkBackdrop, 319, 160, false},
        {mkBattle, 480, 480, true},    {mkBattle, 1, 1, true},        {mkBattle, 481, 10, false},
        {mkBattle, 10, 481, false},    {mkCharSet, 288, 256, true},   {mkCharSet, 288, 255, false},
        {mkChipSet, 480, 256, true},   {mkChipSet, 256, 480, false},  {mkFaceSet, 192, 192, true},
        {mkFaceSet, 192, 193, false},  {mkGameOver, 320, 240, true},  {mkGameOver, 320, 160, false},
        {mkMonster, 16, 16, true},     {mkMonster, 320, 160, true},   {mkMonster, 15, 40, false},
        {mkMonster, 40, 15, false},    {mkMonster, 321, 40, false},   {mkMonster, 40, 161, false},
        {mkPanorama, 80, 80, true},    {mkPanorama, 640, 480, true},  {mkPanorama, 79, 200, false},
        {mkPanorama, 200, 481, false}, {mkPicture, 640, 480, true},   {mkPicture, 641, 1, false},
        {mkPicture, 1, 481, false},    {mkSystem, 160, 80, true},     {mkSystem, 160, 81, false},
        {mkTitle, 320, 240, true},     {mkTitle, 240, 320, false},    {mkMovie, 9999, 1, true},
        {mkMusic, 0, 0, true},         {mkSound, 5, 5, true},
    };
    for (const TSizeCase& c : cases)
        EXPECT_EQ(IsImportSizeAccepted(c.Kind, c.Width, c.Height), c.Accepted)
            << MaterialKindName(c.Kind) << " " << c.Width << "x" << c.Height;
}

TEST(MaterialRules, KindsFiltersAndPickerKinds) {
    EXPECT_EQ(MaterialKindOfName("charset"), mkCharSet);
    EXPECT_EQ(MaterialKindOfName("Sounds"), -1);
    std::string pickers;
    for (int kind = 0; kind < kMaterialKindCount; ++kind)
        if (NeedsTransparentPicker(kind))
            pickers += std::string(MaterialKindName(kind)) + " ";
    EXPECT_EQ(pickers, "Battle CharSet ChipSet FaceSet Monster Picture System ");
    EXPECT_EQ(ExportFilter(mkMovie, ".mpg"), "MPEG file (*.mpg)|*.mpg|");
    EXPECT_EQ(ExportFilter(mkMusic, ".mp3"), "MP3 file (*.mp3)|*.mp3|");
    EXPECT_EQ(ExportFilter(mkMusic, ".wav"), "WAV file (*.wav)|*.wav|");
    EXPECT_EQ(ImportDefaultExtension(mkMusic), ".mid");
    EXPECT_EQ(DialogFilters(ImportFilter(mkMovie)), (std::vector<std::string>{"Movie file (*.avi *.mpg)"}));
    EXPECT_EQ(DialogFilters(ImportFilter(mkMusic)),
              (std::vector<std::string>{"MIDI file (*.mid)", "WAV file (*.wav)", "Arquivo MP3 (*.mp3)"}));
}

TEST(MaterialRules, PreviewPlacementCentresSmallAndScalesLargeFromTheTopLeft) {
    EXPECT_EQ(PreviewPlacement(200, 150, 100, 50), MakeBounds(50, 50, 100, 50));
    EXPECT_EQ(PreviewPlacement(200, 150, 400, 100), MakeBounds(0, 0, 200, 50));   // wide: width fills
    EXPECT_EQ(PreviewPlacement(200, 150, 100, 300), MakeBounds(0, 0, 50, 150));   // tall: height fills
    EXPECT_EQ(PreviewPlacement(200, 150, 2000, 1), MakeBounds(0, 0, 200, 1));     // never vanishes
}

// A palette picture with a pattern that uses indices 0..9.
int Pattern(int x, int y) { return (x / 3 + y / 2) % 10; }

std::vector<TPaletteEntry> Colors(const TBitmap& picture) {
    std::vector<TPaletteEntry> colors;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            colors.push_back(picture.Palette()[static_cast<std::size_t>(picture.PixelIndex(x, y))]);
    return colors;
}

TBitmap Load(const std::string& file) {
    TBitmap picture;
    LoadPicture(picture, file);
    return picture;
}

class MaterialModel : public SelSandbox {
protected:
    void SetUp() override {
        SelSandbox::SetUp();
        for (int kind = 0; kind < kMaterialKindCount; ++kind)
            fs::create_directories(Project(MaterialKindName(kind)));
        MaterialImportFormat() = 0;
    }
    std::string Outside(const std::string& rel) const { return Root + "outside/" + rel; }
    std::unique_ptr<TMaterialBaseModel> Model(int kind) {
        auto model = std::make_unique<TMaterialBaseModel>(Root + "base/Game/");
        model->SelectKind(kind);
        return model;
    }
    static TMaterialBaseModel::TPicker Pick(int index) {
        return [index](TBitmap& picture) -> std::optional<int> {
            SetTransparentIndex(picture, index);
            return index;
        };
    }
    std::size_t FileCount(int kind) const {
        const fs::path folder = Project(MaterialKindName(kind));
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
};

TEST_F(MaterialModel, ImportOfEverySizeClassKeepsTheColoursOfEveryPixel) {
    const TSizeCase sizes[] = {
        {mkBackdrop, 320, 160, true}, {mkBattle, 480, 480, true},  {mkCharSet, 288, 256, true},
        {mkChipSet, 480, 256, true},  {mkFaceSet, 192, 192, true}, {mkGameOver, 320, 240, true},
        {mkMonster, 16, 160, true},   {mkPanorama, 640, 80, true}, {mkPicture, 33, 17, true},
        {mkSystem, 160, 80, true},    {mkTitle, 320, 240, true},
    };
    for (const TSizeCase& c : sizes) {
        SCOPED_TRACE(MaterialKindName(c.Kind));
        const std::string source = Outside(std::string("src") + MaterialKindName(c.Kind) + ".png");
        WriteImage(source, c.Width, c.Height, Pattern);
        auto model = Model(c.Kind);
        const auto result = model->Import(source, Pick(7));
        ASSERT_TRUE(result);
        EXPECT_EQ(result->FileName, "src" + std::string(MaterialKindName(c.Kind)) + ".png");
        EXPECT_EQ(result->Transparent, NeedsTransparentPicker(c.Kind) ? 7 : -1);
        const TBitmap stored = Load(model->TargetFolder() + result->FileName);
        const TBitmap original = Load(source);
        ASSERT_EQ(stored.PixelFormat(), TPixelFormat::pf8bit);
        EXPECT_EQ(Colors(stored), Colors(original));
        if (NeedsTransparentPicker(c.Kind)) {
            EXPECT_EQ(stored.Palette()[0], TestColor(7));
            EXPECT_EQ(stored.PixelIndex(0, 14), 0);  // was index 7
            EXPECT_EQ(stored.PixelIndex(0, 0), 7);   // was index 0
        } else {
            EXPECT_EQ(stored.Palette(), original.Palette());
        }
        ASSERT_GE(model->Selected(), 0);
        EXPECT_EQ(model->Entries()[static_cast<std::size_t>(model->Selected())], "src" + std::string(MaterialKindName(c.Kind)));
    }
}

TEST_F(MaterialModel, RefusedPicturesWriteNothing) {
    // 24-bit, 4-bit and 1-bit pictures are refused like the wrong size; a cancelled picker too.
    TBitmap truecolour(288, 256, TPixelFormat::pf24bit);
    SavePicture(truecolour, (fs::create_directories(Outside("")), Outside("true.png")));
    TBitmap fourBit(288, 256, TPixelFormat::pf4bit);
    SavePicture(fourBit, Outside("four.bmp"));
    TBitmap oneBit(288, 256, TPixelFormat::pf1bit);
    SavePicture(oneBit, Outside("one.bmp"));
    WriteImage(Outside("tall.png"), 288, 257, Pattern);
    WriteImage(Outside("right.png"), 288, 256, Pattern);
    const struct {
        const char* File;
        const char* Message;
    } refusals[] = {
        {"true.png", kNot8BitMessage},
        {"four.bmp", kNot8BitMessage},
        {"one.bmp", kNot8BitMessage},
        {"tall.png", kImageSizeIllegalMessage},
    };
    auto model = Model(mkCharSet);
    bool pickerShown = false;
    const TMaterialBaseModel::TPicker picker = [&](TBitmap&) -> std::optional<int> {
        pickerShown = true;
        return 3;
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.File);
        try {
            model->Import(Outside(r.File), picker);
            ADD_FAILURE() << "accepted";
        } catch (const EMaterialRefused& e) {
            EXPECT_STREQ(e.what(), r.Message);
        }
    }
    EXPECT_FALSE(pickerShown);
    EXPECT_FALSE(model->Import(Outside("right.png"), [](TBitmap&) { return std::optional<int>(); }));
    EXPECT_EQ(FileCount(mkCharSet), 0u);
    // Media of a type the kind does not hold.
    Touch(Outside("tune.ogg"));
    EXPECT_THROW(Model(mkMusic)->Import(Outside("tune.ogg"), nullptr), EMaterialRefused);
    EXPECT_EQ(FileCount(mkMusic), 0u);
}

TEST_F(MaterialModel, ZgfBesidePngIsOneEntryAndTheListScrollsToTheImport) {
    for (int i = 1; i <= 9; ++i)
        Touch(Project("Picture/Pic" + std::to_string(i) + ".png"));
    WriteImage(Outside("Pic9.bmp"), 40, 30, Pattern);
    MaterialImportFormat() = 1;
    auto model = Model(mkPicture);
    const auto result = model->Import(Outside("Pic9.bmp"), Pick(0));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->FileName, "Pic9.zgf");
    EXPECT_TRUE(FileExists(Project("Picture/Pic9.zgf")));
    EXPECT_EQ(ReadWholeFile(Project("Picture/Pic9.png")), "x");
    EXPECT_EQ(model->Entries().size(), 9u);
    EXPECT_EQ(model->Selected(), 8);
    EXPECT_EQ(model->TopIndex(), 2);
    // Index 0 picked: the picture is stored as it came.
    const TBitmap stored = Load(Project("Picture/Pic9.zgf"));
    const TBitmap original = Load(Outside("Pic9.bmp"));
    EXPECT_EQ(stored.Palette(), original.Palette());
    EXPECT_EQ(stored.PixelIndex(3, 0), original.PixelIndex(3, 0));
}

TEST_F(MaterialModel, PackageEntriesExportButNeverDelete) {
    WriteImage(Rtp("ChipSet/World.png"), 480, 256, Pattern);
    auto model = Model(mkChipSet);
    ASSERT_EQ(model->Entries(), (std::vector<std::string>{"World <RTP>"}));
    EXPECT_FALSE(model->ExportEnabled());
    model->SelectEntry(0);
    EXPECT_TRUE(model->ExportEnabled());
    EXPECT_FALSE(model->DeleteEnabled());
    EXPECT_EQ(model->ExportName(), "World.png");
    // Export doubles as conversion: a PNG exported under a .bmp name is a BMP.
    fs::create_directories(Outside(""));
    model->Export(Outside("World.bmp"));
    EXPECT_EQ(ReadFileHead(Outside("World.bmp"), 2), "BM");
    EXPECT_EQ(Colors(Load(Outside("World.bmp"))), Colors(Load(Rtp("ChipSet/World.png"))));
    bool asked = false;
    EXPECT_EQ(model->Delete([&](const std::string&) { asked = true; return mrYes; }),
              TMaterialBaseModel::TDeleteResult::NotInProject);
    EXPECT_FALSE(asked);
    EXPECT_TRUE(FileExists(Rtp("ChipSet/World.png")));
}

TEST_F(MaterialModel, DeleteStaysInsideTheProjectFolderOfTheKind) {
    // A package folder spelled in another case, a name nothing resolves to, a link in the
    // project that leads into the package, and a file of the same name in the current folder.
    WriteBytes(Rtp("charset/Hero.png"), "rtp");
    WriteBytes(Rtp("CharSet/Link.png"), "rtp");
    fs::create_symlink(Rtp("CharSet/Link.png"), Project("CharSet/Link.png"));
    WriteBytes(Root + "Ghost", "cwd");
    const std::string cwd = fs::current_path().string();
    fs::current_path(Root);
    auto model = Model(mkCharSet);
    for (const char* name : {"Hero", "Hero <RTP>", "Ghost", "Link", "../charset/Hero"})
        EXPECT_EQ(model->DeleteName(name), TMaterialBaseModel::TDeleteResult::NotInProject) << name;
    fs::current_path(cwd);
    EXPECT_EQ(ReadWholeFile(Rtp("charset/Hero.png")), "rtp");
    EXPECT_EQ(ReadWholeFile(Rtp("CharSet/Link.png")), "rtp");
    EXPECT_EQ(ReadWholeFile(Root + "Ghost"), "cwd");
    EXPECT_TRUE(fs::is_symlink(Project("CharSet/Link.png")));
}

TEST_F(MaterialModel, DeleteAsksThenRemovesOnlyTheResolvedFile) {
    Touch(Project("Battle/Fire.bmp"));
    Touch(Project("Battle/Fire.png"));
    auto model = Model(mkBattle);
    model->SelectEntry(0);
    std::string question;
    EXPECT_EQ(model->Delete([&](const std::string& q) { question = q; return mrNo; }),
              TMaterialBaseModel::TDeleteResult::Declined);
    EXPECT_EQ(question, "Do you want to erase Fire.bmp?");
    EXPECT_EQ(model->Delete([](const std::string&) { return mrYes; }), TMaterialBaseModel::TDeleteResult::Deleted);
    EXPECT_FALSE(FileExists(Project("Battle/Fire.bmp")));
    EXPECT_TRUE(FileExists(Project("Battle/Fire.png")));
    EXPECT_EQ(model->Entries(), (std::vector<std::string>{"Fire"}));
}

TEST_F(MaterialModel, ImportAndExportOntoTheSameFileKeepIt) {
    WriteBytes(Project("Music/Town.mid"), std::string("MThd\0\0\0\6tune", 12));
    ::chmod(Project("Music/Town.mid").c_str(), 0444);
    auto music = Model(mkMusic);
    ASSERT_TRUE(music->Import(Project("Music/Town.mid"), nullptr));
    EXPECT_EQ(ReadWholeFile(Project("Music/Town.mid")), std::string("MThd\0\0\0\6tune", 12));
    EXPECT_EQ(::access(Project("Music/Town.mid").c_str(), W_OK), 0);  // no longer read-only
    music->SelectEntry(0);
    music->Export(Project("Music/Town.mid"));
    EXPECT_EQ(ReadWholeFile(Project("Music/Town.mid")), std::string("MThd\0\0\0\6tune", 12));

    WriteImage(Project("Title/Logo.png"), 320, 240, Pattern);
    const std::string before = ReadWholeFile(Project("Title/Logo.png"));
    auto title = Model(mkTitle);
    ASSERT_TRUE(title->Import(Project("Title/Logo.png"), nullptr));
    title->Export(Project("Title/Logo.png"));
    EXPECT_EQ(ReadWholeFile(Project("Title/Logo.png")), before);
    EXPECT_TRUE(ListSaveTempFiles(Project("Title")).empty());
}

TEST_F(MaterialModel, PreviewReadsOnlyRegularFilesUpToItsLimit) {
    WriteImage(Outside("small.png"), 30, 20, Pattern);
    const auto picture = LoadPreviewPicture(Outside("small.png"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(PreviewCaption(&*picture), "Picture: (30x20)");
    EXPECT_EQ(PreviewCaption(nullptr), "Picture:");
    ASSERT_EQ(::mkfifo(Outside("pipe.png").c_str(), 0600), 0);  // would block a reader
    EXPECT_FALSE(LoadPreviewPicture(Outside("pipe.png")));
    EXPECT_FALSE(LoadPreviewPicture(Outside("")));
    {
        std::ofstream big(Outside("big.bmp"), std::ios::binary);
        big.seekp(kPreviewFileLimit);
        big.put('x');
    }
    EXPECT_FALSE(LoadPreviewPicture(Outside("big.bmp")));
    WriteBytes(Outside("junk.png"), "\x89PNG junk");
    EXPECT_FALSE(LoadPreviewPicture(Outside("junk.png")));
    // A picture too long for any kind is not decoded for a look.
    WriteImage(Outside("long.png"), kPreviewSideLimit + 1, 1, Pattern);
    EXPECT_FALSE(LoadPreviewPicture(Outside("long.png")));
    WriteImage(Outside("longest.png"), kPreviewSideLimit, 1, Pattern);
    EXPECT_TRUE(LoadPreviewPicture(Outside("longest.png")));
}

TEST_F(MaterialModel, OpeningAndClosingRememberFolderKindAndFormat) {
    fs::create_directories(Outside("pictures"));
    SetMaterialPath(Outside("pictures"));
    MaterialLastKind() = mkSound;
    {
        TMaterialBaseModel model(Root + "base/Game/");
        model.Open();
        EXPECT_EQ(model.Kind(), mkSound);
        EXPECT_FALSE(model.ImportFormatEnabled());
        EXPECT_EQ(model.DialogFolder, Outside("pictures/"));
        model.DialogFolder = Root;
        model.SelectKind(mkFaceSet);
        model.Close();
    }
    EXPECT_EQ(GetMaterialPath(), Root);
    EXPECT_EQ(MaterialLastKind(), mkFaceSet);
    SetMaterialPath(Outside("gone"));
    TMaterialBaseModel model(Root + "base/Game/");
    model.Open();
    EXPECT_EQ(model.DialogFolder, "/");
    MaterialLastKind() = 0;
}

// The folder the file dialogs open in next: the one a typed full path named, else the one shown.
TEST_F(MaterialModel, TheDialogFolderFollowsTheChosenFile) {
    const struct {
        const char* Shown;
        const char* Chosen;
        const char* Folder;
    } cases[] = {
        {"/", "", "/"},
        {"/home/a", "", "/home/a/"},
        {"/", "/srv/pictures/Hero.png", "/srv/pictures/"},
        {"/home/a", "/tmp/x/y/Song.mid", "/tmp/x/y/"},
        {"/home/a", "Hero.png", "/home/a/"},
    };
    TMaterialBaseModel model(Root + "base/Game/");
    for (const auto& c : cases) {
        model.FileDialogClosed(c.Shown, c.Chosen);
        EXPECT_EQ(model.DialogFolder, c.Folder) << c.Shown << " " << c.Chosen;
    }
}

TEST_F(MaterialModel, ImportRefusesNamesTheGameDiskCouldNotStoreInItsWords) {
    // Each name refused before its picture is read, with what packaging would stop with on the
    // same file in the project.
    const struct {
        int Kind;
        const char* Name;
        const char* Stored;  // the file the game disk would have met; nullptr: no name at all
    } cases[] = {
        {mkPicture, "ñ€😀.png", "ñ€😀.png"},
        {mkPicture, "..\\..\\evil.bmp", "..\\..\\evil.png"},
        {mkPicture, "line\nbreak.png", "line\nbreak.png"},
        {mkSound, "tab\there.wav", "tab\there.wav"},
        {mkPicture, ".png", nullptr},
        {mkPicture, "..png", nullptr},
        {mkSound, ".wav", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string source = Outside(c.Name);
        if (IsMediaKind(c.Kind))
            WriteBytes(source, "RIFF");
        else
            WriteImage(source, 40, 30, Pattern);
        std::string refusal;
        try {
            Model(c.Kind)->Import(source, Pick(0));
        } catch (const EMaterialRefused& e) {
            refusal = e.what();
        }
        EXPECT_EQ(FileCount(c.Kind), 0u);
        if (!c.Stored) {
            EXPECT_EQ(refusal, kNoResourceNameMessage);
            continue;
        }
        const std::string folder = MaterialKindName(c.Kind);
        WriteBytes(Project(folder + "/" + c.Stored), "x");
        try {
            CollectLhaSources("\"" + Project("") + "\"\n" + folder + "\n", {});
            ADD_FAILURE() << "archived";
        } catch (const std::exception& e) {
            EXPECT_EQ(refusal, e.what());
        }
        fs::remove(Project(folder + "/" + c.Stored));
    }
    // What the disk can hold passes: letters of the code page, dots inside the name.
    WriteImage(Outside("勇者.v2.bmp"), 40, 30, Pattern);
    const auto result = Model(mkPicture)->Import(Outside("勇者.v2.bmp"), Pick(0));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->FileName, "勇者.v2.png");
}

TEST_F(MaterialModel, ImportRefusesTheSizeTheHeaderDeclaresBeforeDecoding) {
    // Tiny files that claim 16384 × 16384 pixels, files with enough bytes behind the header for
    // the readers to start on such a picture (a quarter of a gigabyte), and a PNG whose second
    // header changes its size: all are refused for their size, the reader never reaching the
    // pixels (it would have run out of data or found garbage, with its own message).
    fs::create_directories(Outside(""));
    const struct {
        const char* Name;
        std::string Bytes;
    } cases[] = {
        {"tiny.png", pngtest::DeclaredPicture("png", 16384, 16384, 0)},
        {"tiny.zgf", pngtest::DeclaredPicture("zgf", 16384, 16384, 0)},
        {"tiny.bmp", pngtest::DeclaredPicture("bmp", 16384, 16384, 16)},
        {"filled.png", pngtest::DeclaredPicture("png", 16384, 16384, 262144)},
        {"filled.zgf", pngtest::DeclaredPicture("zgf", 16384, 16384, 262144)},
        {"filled.bmp", pngtest::DeclaredPicture("bmp", 16384, 16384, 65536)},
        {"twice.png", pngtest::Signature() + pngtest::Header(40, 30, 8, 3) +
                          pngtest::DeclaredPicture("png", 16384, 16384, 262144).substr(8)},
        {"wide.png", pngtest::DeclaredPicture("png", 641, 1, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes(Outside(c.Name), c.Bytes);
        try {
            Model(mkPicture)->Import(Outside(c.Name), Pick(0));
            ADD_FAILURE() << "accepted";
        } catch (const EMaterialRefused& e) {
            EXPECT_STREQ(e.what(), kImageSizeIllegalMessage);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "decoded as far as: " << e.what();
        }
    }
    EXPECT_EQ(FileCount(mkPicture), 0u);
}

TEST_F(MaterialModel, ImportRemovesWhatKilledSavesLeftAndNothingElse) {
    // Ours, of any age: a killed import's copy, a killed save, a killed game-disk copy.
    const std::vector<std::string> ours = {"Sound/big.wav.quillon-save-Ab12Cd", "GMK_RT.kdb.quillon-save-x1y2z3",
                                           "Picture/a.png.quillon-copy-QWERTY"};
    // Not ours: other suffixes, another pattern, a link, a folder, deeper than a resource folder.
    const std::vector<std::string> others = {"Sound/big.wav.quillon-save-abc", "Sound/big.wav.quillon-save-ab-cd!",
                                             "Sound/notes.quillon-save-Ab12Cd.txt", "Sound/big.wav.quillon-saved-Ab12Cd",
                                             "Sound/deep/x.wav.quillon-save-Ab12Cd"};
    for (const std::string& name : ours)
        WriteBytes(Project(name), "left");
    for (const std::string& name : others)
        WriteBytes(Project(name), "kept");
    WriteBytes(Outside("elsewhere"), "kept");
    fs::create_symlink(Outside("elsewhere"), Project("Sound/link.wav.quillon-save-Ab12Cd"));
    fs::create_directories(Project("Music/dir.mid.quillon-save-Ab12Cd"));
    WriteBytes(Outside("big.wav"), "RIFF");
    ASSERT_TRUE(Model(mkSound)->Import(Outside("big.wav"), nullptr));
    for (const std::string& name : ours)
        EXPECT_FALSE(fs::exists(Project(name))) << name;
    for (const std::string& name : others)
        EXPECT_EQ(ReadWholeFile(Project(name)), "kept") << name;
    EXPECT_TRUE(fs::is_symlink(Project("Sound/link.wav.quillon-save-Ab12Cd")));
    EXPECT_EQ(ReadWholeFile(Outside("elsewhere")), "kept");
    EXPECT_TRUE(fs::is_directory(Project("Music/dir.mid.quillon-save-Ab12Cd")));
    EXPECT_EQ(ReadWholeFile(Project("Sound/big.wav")), "RIFF");
}

TEST(TransparentPicker, ZoomPickBlinkAndApply) {
    TBitmap picture(8, 4, TPixelFormat::pf8bit);
    for (int i = 0; i < 256; ++i)
        picture.Palette()[static_cast<std::size_t>(i)] = TestColor(i);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            picture.ScanLine(y)[x] = static_cast<std::uint8_t>(x + 8 * y);
    const TBitmap original = picture;
    TTransparentPickerModel picker(picture);
    EXPECT_FALSE(picker.CanZoomOut());
    for (int i = 0; i < 5; ++i)
        picker.ZoomIn();
    EXPECT_EQ(picker.Zoom(), 4);
    EXPECT_FALSE(picker.CanZoomIn());
    EXPECT_EQ(picker.ViewWidth(), 32);
    picker.ZoomOut();
    picker.PickAt(17, 5);  // zoom 3: pixel (5, 1)
    EXPECT_EQ(picker.Selected(), 13);
    picker.PickAt(24, 0);  // beyond the picture
    EXPECT_EQ(picker.Selected(), 13);

    EXPECT_EQ(picker.ColorTable()[13], TestColor(13));
    picker.Tick();
    EXPECT_EQ(picker.ColorTable()[13], BlinkColor(TestColor(13)));
    EXPECT_EQ(picker.ColorTable()[12], TestColor(12));
    EXPECT_EQ(BlinkColor(TPaletteEntry{255, 100, 30, 0}), (TPaletteEntry{235, 80, 80, 0}));
    picker.Tick();
    EXPECT_EQ(picker.ColorTable()[13], TestColor(13));

    EXPECT_EQ(picture.Palette(), original.Palette());  // untouched until OK
    picker.Apply();
    EXPECT_EQ(picture.Palette()[0], TestColor(13));
    EXPECT_EQ(picture.Palette()[13], TestColor(0));
    EXPECT_EQ(picture.PixelIndex(5, 1), 0);
    EXPECT_EQ(picture.PixelIndex(0, 0), 13);
    EXPECT_EQ(Colors(picture), Colors(original));
}

}  // namespace
