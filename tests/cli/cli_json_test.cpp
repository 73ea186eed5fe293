// Every --json output read back by Qt's JSON parser and turned into the text command's lines:
// the two must say the same.
#include "app/cli/json_writer.h"
#include "tests/cli/children_game.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fstream>
#include <functional>

namespace adultify {
namespace {

using test::Result;

std::string Text(const QJsonValue& v) {
    return v.isString() ? v.toString().toStdString() : std::to_string(v.toInteger());
}

std::string Joined(const QJsonArray& values, const char* separator) {
    std::string out;
    for (const QJsonValue& v : values)
        out += (out.empty() ? "" : separator) + Text(v);
    return out;
}

// The text command's lines, rebuilt from each array element's keys.
std::function<std::string(const QJsonObject&)>
Columns(const char* array, std::vector<const char*> keys, const char* prefix = "") {
    return [=](const QJsonObject& doc) {
        std::string out;
        for (const QJsonValue& row : doc[array].toArray()) {
            std::string line = prefix;
            for (const char* key : keys) {
                const QJsonValue v = row.toObject()[key];
                line += (line.size() > std::string(prefix).size() ? "\t" : "") +
                        (v.isArray() ? Joined(v.toArray(), ",") : Text(v));
            }
            out += line + "\n";
        }
        return out;
    };
}

std::string ShowLines(const QJsonObject& doc) {
    std::string out = "Frame2: " + Text(doc["frame"]) + "\n";
    for (const QJsonValue& line : doc["details"].toArray())
        out += "List2: " + Text(line) + "\n";
    int label = 7;
    for (const char* trait : {"nice", "active", "playful", "outgoing", "neat"})
        out += "Label" + std::to_string(label++) + ": " +
               Text(doc["personality"].toObject()[trait]) + "\n";
    label = 18;
    for (const char* skill : {"cooking", "mechanical", "charisma", "body", "logic", "creativity"})
        out +=
            "Label" + std::to_string(label++) + ": " + Text(doc["skills"].toObject()[skill]) + "\n";
    out += std::string("Command1: ") + (doc["can_grow_up"].toBool() ? "enabled" : "disabled") +
           "\nPicture1: " + Text(doc["picture1"]) + "\nPicture2: " + Text(doc["picture2"]) + "\n";
    return out;
}

using CliJsonTest = test::ChildrenGame;

TEST_F(CliJsonTest, EveryJsonOutputSaysWhatItsTextCommandSays) {
    // A snapshot to list, and this game found as the one chosen by hand.
    ASSERT_EQ(Run({"--seed", "3", "adultify", "2"}).code, 0);
    std::filesystem::create_directories(data.path() / "config" / "adultify");
    std::ofstream(data.path() / "config" / "adultify" / "remembered") << dir.str() << "\n";
    struct Case {
        std::vector<std::string> args;
        std::function<std::string(const QJsonObject&)> lines;
    };
    const std::vector<Case> cases = {
        {{"hoods"}, Columns("hoods", {"entry"}, "Combo1: ")},
        {{"residents"}, Columns("residents", {"k", "age", "user_file", "name"})},
        {{"--hood", "2", "residents"}, Columns("residents", {"k", "age", "user_file", "name"})},
        {{"children"}, Columns("children", {"hood", "k", "family", "name"})},
        {{"show", "1"}, ShowLines},
        {{"--hood", "2", "show", "0"}, ShowLines},
        {{"snapshots"},
         Columns("snapshots", {"id", "time", "command", "resident", "files", "name"})},
        {{"games"}, Columns("games", {"number", "source", "folder", "hoods", "code_page"})},
    };
    for (const Case& c : cases) {
        const std::string label = c.args.back();
        const Result text = Run(c.args);
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        const Result json = Run(args);
        ASSERT_EQ(json.code, 0) << label << json.err;
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(
            QByteArray(json.out.data(), static_cast<qsizetype>(json.out.size())), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << label << ": " << json.out;
        ASSERT_TRUE(doc.isObject()) << label;
        EXPECT_FALSE(text.out.empty()) << label;
        EXPECT_EQ(c.lines(doc.object()), text.out) << label;
    }
}

TEST_F(CliJsonTest, NumbersAreNumbersAndTheNeighbourhoodIsNamed) {
    const QJsonObject shown =
        QJsonDocument::fromJson(QByteArray::fromStdString(Run({"--json", "show", "1"}).out))
            .object();
    EXPECT_EQ(shown["hood"], 1);
    EXPECT_EQ(shown["k"], 1);
    EXPECT_EQ(shown["name"], "Renée Newbie");
    EXPECT_TRUE(shown["personality"].toObject()["nice"].isDouble());
    const QJsonObject hoods =
        QJsonDocument::fromJson(QByteArray::fromStdString(Run({"hoods", "--json"}).out)).object();
    EXPECT_EQ(hoods["hoods"].toArray()[1].toObject()["number"], 2);
    EXPECT_EQ(Run({"--json", "list"}).code, 1) << "list has no JSON form";
}

TEST(JsonWriterTest, EveryTextParsesBackAsItWasOrWithAReplacementCharacter) {
    struct Case {
        std::string text;
        QString parsed;
    };
    const std::vector<Case> cases = {
        {"plain", "plain"},
        {"a \"quoted\" \\ name", "a \"quoted\" \\ name"},
        {"tab\tline\nbell\a esc\x1b del\x7f", "tab\tline\nbell\a esc\x1b del\x7f"},
        {"Renée, 日本, 😀", QString::fromUtf8("Renée, 日本, 😀")},
        {"cut \xC3", QString::fromUtf8("cut \xEF\xBF\xBD")},
        {"latin1 \xE9t\xE9", QString::fromUtf8("latin1 \xEF\xBF\xBDt\xEF\xBF\xBD")},
        {"overlong \xC0\xAF", QString::fromUtf8("overlong \xEF\xBF\xBD\xEF\xBF\xBD")},
        {"surrogate \xED\xA0\x80",
         QString::fromUtf8("surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD")},
        {std::string("nul \0 inside", 13), QString::fromUtf8("nul \0 inside", 13)},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        JsonWriter(out).BeginArray().String(c.text).Number(-42).Bool(true).Null().EndArray();
        QJsonParseError error{};
        const QJsonDocument doc =
            QJsonDocument::fromJson(QByteArray::fromStdString(out.str()), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << out.str();
        EXPECT_EQ(doc.array()[0].toString(), c.parsed) << out.str();
        EXPECT_EQ(doc.array()[1].toInteger(), -42);
        EXPECT_TRUE(doc.array()[3].isNull());
    }
}

} // namespace
} // namespace adultify
