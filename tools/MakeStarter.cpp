// quillon-make-starter FOLDER: writes the template files that sit beside the editor into
// FOLDER: the starter database "GMK_RT.kdb.dat" and the starter run-time package "RTP".
#include "data/LD_DataBase.h"
#include "platform/FileUtils.h"
#include "tools/lib/RtpAudio.h"
#include "tools/lib/RtpImages.h"
#include "tools/lib/RtpNames.h"
#include "tools/lib/StarterDataBase.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    using namespace quillon;
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillon-make-starter FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    try {
        auto database = std::make_unique<TKelDataBase>();
        MakeStarterDataBase(*database);
        database->SaveToFile(folder + "GMK_RT.kdb.dat");

        const std::string rtp = folder + "RTP/";
        for (const char* kind : {"Backdrop", "Battle", "CharSet", "ChipSet", "FaceSet", "GameOver", "Monster",
                                 "Movie", "Music", "Panorama", "Picture", "Sound", "System", "Title"})
            std::filesystem::create_directories(rtp + kind);
        for (int i = 0; i < 3; ++i)
            WriteFileAtomic(rtp + "Music/" + rtp::kMusic[i] + ".mid", MakeRtpTune(i));
        for (int i = 0; i < 6; ++i)
            WriteFileAtomic(rtp + "Sound/" + rtp::kSounds[i] + ".wav", MakeRtpSound(i));
        WriteRtpImages(rtp);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillon-make-starter: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
