// Crafted clipboard blocks for the paste probes of the editor's windows: the seeds of a fuzz
// corpus that its selector gives a format, and a sound block cut short, with huge counts in its
// header and with single bits flipped. Each kind is bounded, so that a probe runs in seconds.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace quillon::probekit {

// The blocks in tests/fuzz/<corpus> whose first byte `picks` answers true for, without their
// `skip` leading selector bytes; at most `limit`, in file-name order.
inline std::vector<std::string> CorpusBlocks(const std::string& corpus, const std::function<bool(unsigned char)>& picks,
                                             std::size_t skip, std::size_t limit) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(QUILLON_SOURCE_DIR) + "/tests/fuzz/" + corpus))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<std::string> blocks;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        const std::string seed = bytes.str();
        if (seed.size() < skip || skip == 0 || !picks(static_cast<unsigned char>(seed[0])))
            continue;
        blocks.push_back(seed.substr(skip));
        if (blocks.size() == limit)
            break;
    }
    return blocks;
}

// Variants of a sound block: cut at a spread of lengths, the first and second header words set
// to huge and negative values, and one bit flipped at a spread of positions.
inline std::vector<std::string> Variants(const std::string& sound) {
    std::vector<std::string> out;
    const std::size_t step = std::max<std::size_t>(1, sound.size() / 12);
    for (std::size_t n = 0; n < sound.size(); n += step)
        out.push_back(sound.substr(0, n));
    for (const std::size_t word : {0u, 4u})
        for (const std::uint32_t value : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x00FFFFFFu})
            if (sound.size() >= word + 4) {
                std::string changed = sound;
                for (int i = 0; i < 4; ++i)
                    changed[word + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
                out.push_back(changed);
            }
    for (std::size_t at = 0; at < sound.size(); at += step)
        for (const int bit : {0, 7}) {
            std::string flipped = sound;
            flipped[at] = static_cast<char>(flipped[at] ^ (1 << bit));
            out.push_back(flipped);
        }
    return out;
}

// The block on the system clipboard under the format's MIME type, alone.
inline void PutOnSystemClipboard(const QString& mimeType, const std::string& block) {
    auto data = new QMimeData;  // the clipboard takes ownership
    data->setData(mimeType, QByteArray(block.data(), static_cast<qsizetype>(block.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

// Puts each block alone on the system clipboard under the MIME type and pastes it; what
// `reads` (the block's own reader) refuses must leave `saved` as it was. Answers how many of the
// blocks read.
inline int ProbePaste(const QString& mimeType, const std::vector<std::string>& blocks,
                      const std::function<bool(const std::string&)>& reads, const std::function<void()>& paste,
                      const std::function<std::string()>& saved) {
    int taken = 0;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        SCOPED_TRACE(mimeType.toStdString() + " block " + std::to_string(b));
        const std::string before = saved();
        PutOnSystemClipboard(mimeType, blocks[b]);
        const bool read = reads(blocks[b]);
        paste();
        taken += read;
        if (!read) {
            EXPECT_EQ(saved(), before);
        }
    }
    return taken;
}

}  // namespace quillon::probekit
