#include "data/KelDump.h"

#include "data/Catalog.h"
#include "data/LD_DataBase.h"
#include "data/LD_Event.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/LD_MoveRoute.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quillon {

void TJsonDump::NewLine() {
    if (!mFirst)
        mOut += ',';
    mFirst = false;
    if (mDepth > 0 || !mOut.empty()) {
        mOut += '\n';
        mOut.append(static_cast<std::size_t>(2 * mDepth), ' ');
    }
}

void TJsonDump::Key(const std::string& key) {
    NewLine();
    String(key);
    mOut += ": ";
}

std::string JsonQuoted(const std::string& utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

void TJsonDump::String(const std::string& bytes) { mOut += JsonQuoted(Cp932ToUtf8(bytes)); }

void TJsonDump::Hex(const unsigned char* data, std::size_t size) {
    static const char* digits = "0123456789ABCDEF";
    mOut += '"';
    for (std::size_t i = 0; i < size; ++i) {
        if (i)
            mOut += ' ';
        mOut += digits[data[i] >> 4];
        mOut += digits[data[i] & 15];
    }
    mOut += '"';
}

void TJsonDump::Open(char bracket) {
    mOut += bracket;
    ++mDepth;
    mFirst = true;
}

void TJsonDump::Close(char bracket) {
    --mDepth;
    if (!mFirst) {
        mOut += '\n';
        mOut.append(static_cast<std::size_t>(2 * mDepth), ' ');
    }
    mOut += bracket;
    mFirst = false;
}

void TJsonDump::Record(TCatalogBaseItem& record) {
    Open('{');
    if (auto* item = dynamic_cast<TCatalogItem*>(&record)) {
        Key("ID");
        mOut += std::to_string(item->ID);
    }
    auto* map = dynamic_cast<TKelMap*>(&record);
    auto* scripted = dynamic_cast<TKelBaseEventPageItem*>(&record);
    auto* route = dynamic_cast<TKelMoveRoute*>(&record);
    if (scripted)
        scripted->PackScript();  // the buffer as it would be saved
    if (route)
        route->PackRoute();
    TCatalogVarData d;
    for (int n = 1; n <= 999; ++n) {
        d.FieldType = ftNone;
        d.Name = nullptr;
        record.DescribeField(n, d, true);
        if (d.FieldType == ftNone)
            continue;
        const std::string name = d.Name ? d.Name : "field" + std::to_string(n);
        if (scripted && d.Data == &scripted->ScriptData) {
            Key("Script");
            Open('[');
            for (int i = 0; i < scripted->Script.Count(); ++i) {
                const TKelEventScriptLine& line = *scripted->Script.Lines(i);
                NewLine();
                mOut += "{\"Code\": " + std::to_string(line.Code) + ", \"Indent\": " + std::to_string(line.Indent) +
                        ", \"Text\": ";
                String(line.Text);
                mOut += ", \"Params\": [";
                for (int p = 0; p < line.ParamCount(); ++p)
                    mOut += (p ? ", " : "") + std::to_string(line.Param(p));
                mOut += "]}";
            }
            Close(']');
            continue;
        }
        if (route && d.Data == &route->RouteData) {
            Key("Route");
            Open('[');
            for (const TKelMoveRouteItem& item : route->ItemList()) {
                NewLine();
                mOut += "{\"Code\": " + std::to_string(item.Code) + ", \"Name\": ";
                const char* commandName = MoveCommandName(item.Code);
                String(commandName ? commandName : "");
                switch (item.Code) {
                case mcSwitchOn:
                case mcSwitchOff:
                    mOut += ", \"SwitchId\": " + std::to_string(item.SwitchId);
                    break;
                case mcChangeGraphic:
                    mOut += ", \"GraphicName\": ";
                    String(item.GraphicName);
                    mOut += ", \"GraphicIndex\": " + std::to_string(item.GraphicIndex);
                    break;
                case mcPlaySound:
                    mOut += ", \"SoundName\": ";
                    String(item.SoundName);
                    mOut += ", \"SoundVolume\": " + std::to_string(item.SoundVolume) +
                            ", \"SoundTempo\": " + std::to_string(item.SoundTempo) +
                            ", \"SoundBalance\": " + std::to_string(item.SoundBalance);
                    break;
                default:
                    break;
                }
                mOut += '}';
            }
            Close(']');
            continue;
        }
        if (map && (d.Data == map->LowerLayer.CellData() || d.Data == map->UpperLayer.CellData())) {
            // A layer as rows of tile IDs.
            const TKelMapLayer& layer = d.Data == map->LowerLayer.CellData() ? map->LowerLayer : map->UpperLayer;
            Key(name);
            Open('[');
            for (std::int32_t row = 0; row < layer.Height(); ++row) {
                NewLine();
                mOut += '[';
                for (std::int32_t column = 0; column < layer.Width(); ++column)
                    mOut += (column ? "," : "") + std::to_string(layer.Cell(column, row));
                mOut += ']';
            }
            Close(']');
            continue;
        }
        Key(name);
        switch (d.FieldType) {
        case ftInteger: {
            std::int32_t value;
            std::memcpy(&value, d.Data, sizeof value);
            mOut += std::to_string(value);
            break;
        }
        case ftByte:
            mOut += std::to_string(*static_cast<const std::uint8_t*>(d.Data));
            break;
        case ftFixedBuffer:
            if (d.Size == 1)
                mOut += std::to_string(*static_cast<const std::uint8_t*>(d.Data));
            else
                Hex(static_cast<const unsigned char*>(d.Data), static_cast<std::size_t>(std::max(d.Size, 0)));
            break;
        case ftDynamicBuffer: {
            const auto& block = *static_cast<const TDynamicBuffer*>(d.Data);
            Hex(block.data(), block.size());
            break;
        }
        case ftString:
            String(*static_cast<const std::string*>(d.Data));
            break;
        case ftDouble: {
            double value;
            std::memcpy(&value, d.Data, sizeof value);
            char text[32];
            std::snprintf(text, sizeof text, "%.17g", value);
            mOut += text;
            break;
        }
        case ftList:
            List(*static_cast<TCatalog*>(d.Data));
            break;
        case ftRecord:
            Record(*static_cast<TCatalogBaseItem*>(d.Data));
            break;
        default:
            mOut += "null";
            break;
        }
    }
    Close('}');
}

void TJsonDump::List(TCatalog& list) {
    Open('[');
    for (int i = 0; i < list.Count(); ++i) {
        NewLine();
        Record(*list.Items(i));
    }
    Close(']');
}

void TJsonDump::DataBase(TKelDataBase& database) {
    Open('{');
    Key("Signature");
    String(TKelDataBase::kSignature);
    for (int n = TKelDataBase::kFirstSection; n <= TKelDataBase::kLastSection; ++n) {
        const TKelDataBase::TSection section = database.Section(n);
        Key(std::to_string(n) + ":" + section.Name);
        if (section.List)
            List(*section.List);
        else
            Record(*section.Record);
    }
    Close('}');
    mOut += '\n';
}

void TJsonDump::Map(TKelMap& map) {
    Open('{');
    Key("Signature");
    String(TKelMap::kSignature);
    Key("Width");
    mOut += std::to_string(map.Width());
    Key("Height");
    mOut += std::to_string(map.Height());
    Key("Map");
    Record(map);
    Close('}');
    mOut += '\n';
}

void TJsonDump::MapTree(TKelMapTree& tree) {
    Open('{');
    Key("Signature");
    String(TKelMapTree::kSignature);
    Key("Items");
    List(tree);
    Key("Order");
    mOut += '[';
    for (std::size_t i = 0; i < tree.Order.size(); ++i)
        mOut += (i ? ", " : "") + std::to_string(tree.Order[i]);
    mOut += ']';
    Key("CurrentMapId");
    mOut += std::to_string(tree.CurrentMapId);
    Key("StartPosition");
    Record(tree.StartPosition);
    Close('}');
    mOut += '\n';
}

}  // namespace quillon
