#include "indexing/detail/kept_words.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "indexing/document_words.h"
#include "indexing_fixture.h"

namespace vx::indexing {
namespace {

using namespace testing;

// Documents of random lines of pieces that give repeats (R&D), ANSI and Unicode words, and words
// that come again in later documents.
std::vector<DocumentWords> RandomDocuments(unsigned seed, int count) {
    const std::u16string pieces[] = {u"R&D", u"Haus",   u"AbΩ",  u"AbЖ", u"Ωmega", u"ΑΒΓ", u"Zelt",
                                     u"Ä&B", u"Straße", u"日本", u"x2y", u"Q&",    u"Baum"};
    std::mt19937 random(seed);
    std::vector<DocumentWords> documents;
    DocumentWordsBuilder builder;
    for (int d = 0; d < count; ++d) {
        for (int l = static_cast<int>(random() % 4); l > 0; --l) {
            std::u16string line;
            for (int k = static_cast<int>(random() % 10); k > 0; --k) {
                line += pieces[random() % std::size(pieces)] + u" ";
            }
            line += u"Wort" + platform::IntText(d);
            builder.AddLine(line);
        }
        documents.push_back(builder.Finish());
    }
    return documents;
}

std::string Encoded(const DocumentWords& words) {
    std::string form;
    words.AppendEncoded(form);
    return form;
}

// Writes the forms to a words file; the records of the documents.
std::vector<ReindexRecord> Write(const fs::path& file, const std::vector<std::string>& forms,
                                 const KeptWordsFile* previous = nullptr) {
    KeptWordsWriter writer(Win(file), previous);
    std::vector<ReindexRecord> records(forms.size());
    for (std::size_t i = 0; i < forms.size(); ++i) writer.Append(forms[i], records[i]);
    writer.Close();
    return records;
}

TEST(KeptWords, DocumentsReadBackAsTheyWereAndAContinuedTableCopiesTheirForms) {
    TempDir dir;
    const std::vector<DocumentWords> documents = RandomDocuments(3, 60);
    std::vector<std::string> forms;
    for (const DocumentWords& words : documents) forms.push_back(KeptWordsForm(words));
    const auto records = Write(dir.Path() / "a.words", forms);
    const auto first = KeptWordsFile::Open(Win(dir.Path() / "a.words"));
    ASSERT_TRUE(first);
    ASSERT_TRUE(first->Continued());
    std::vector<std::string> read(forms.size());
    for (std::size_t i = 0; i < documents.size(); ++i) {
        const auto words = ReadKeptWords(*first, records[i], read[i]);
        ASSERT_TRUE(words) << i;
        EXPECT_EQ(Encoded(*words), Encoded(documents[i])) << i;
    }

    // The next file continues the table: the read forms are copied, a new document is added.
    read.push_back(KeptWordsForm(RandomDocuments(4, 1).front()));
    const auto next = Write(dir.Path() / "b.words", read, &*first);
    const auto second = KeptWordsFile::Open(Win(dir.Path() / "b.words"));
    ASSERT_TRUE(second);
    for (std::size_t i = 0; i < documents.size(); ++i) {
        EXPECT_EQ(next[i].wordsSize, records[i].wordsSize) << i;
        std::string form;
        const auto words = ReadKeptWords(*second, next[i], form);
        ASSERT_TRUE(words) << i;
        EXPECT_EQ(Encoded(*words), Encoded(documents[i])) << i;
        // A record of the first file does not fit the second.
        EXPECT_FALSE(ReadKeptWords(*second, records[i], form)) << i;
    }
    std::string form;
    const auto added = ReadKeptWords(*second, next.back(), form);
    ASSERT_TRUE(added);
    EXPECT_EQ(Encoded(*added), Encoded(RandomDocuments(4, 1).front()));
}

TEST(KeptWords, ADamagedFileIsNotUsed) {
    const struct {
        const char* name;
        std::function<void(std::string& bytes, const ReindexRecord& record)> damage;
        bool opens;
    } cases[] = {
        {"cut short", [](std::string& b, const ReindexRecord&) { b.resize(b.size() - 1); }, false},
        {"table changed", [](std::string& b, const ReindexRecord&) { b[b.size() - 60] ^= 1; },
         false},
        {"form changed",
         [](std::string& b, const ReindexRecord& r) { b[r.wordsOffset + r.wordsSize - 1] ^= 1; },
         true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const fs::path file = dir.Path() / "a.words";
        const auto documents = RandomDocuments(5, 3);
        const auto records = Write(file, {KeptWordsForm(documents[0]), KeptWordsForm(documents[1]),
                                          KeptWordsForm(documents[2])});
        std::string bytes = ReadBytes(file);
        c.damage(bytes, records[1]);
        WriteBytes(file, bytes);
        const auto kept = KeptWordsFile::Open(Win(file));
        ASSERT_EQ(kept.has_value(), c.opens) << c.name;
        if (!kept) continue;
        std::string form;
        EXPECT_TRUE(ReadKeptWords(*kept, records[0], form)) << c.name;
        EXPECT_FALSE(ReadKeptWords(*kept, records[1], form)) << c.name;
    }
}

}  // namespace
}  // namespace vx::indexing
