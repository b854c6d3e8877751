// The words of one document as the filing needs them, worked out from the lines of its text copy
// before the document's turn (on a worker thread): the line split twice, the word rules applied,
// ANSI words converted and hashed, and every repeat left out that cannot change the index. Filing
// them gives the index exactly what filing the lines one after the other gives
// (FileWordsOfLine for every line with the document's number).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "index/word_index.h"

namespace vx::indexing {

class DocumentWordsBuilder;

// A table that numbers the distinct words of many documents (the words file's, kept_words.h).
class WordNumbering {
  public:
    struct Word {
        bool ansi;
        std::string_view bytes;  // Windows-1252, or the code units little-endian
        uint32_t hash;           // as the index hashes the word
    };
    virtual ~WordNumbering() = default;
    // The numbers of distinct words; new words are added.
    virtual void NumberAll(const std::vector<Word>& words, std::vector<uint32_t>& numbers) = 0;
    // Word n, or nullopt.
    virtual std::optional<Word> At(uint64_t n) const = 0;
};

class DocumentWords {
  public:
    // Files the words for the document: its Unicode words, then its ANSI words. Returns false
    // when the cancel flag stopped it (tested before the first and before each ANSI word). tick,
    // when given, is called after every few thousand words.
    bool File(int32_t documentNumber, index::WordIndex& index, const std::atomic<bool>& cancel,
              const std::function<void()>& tick = {}) const;
    // The two halves of File, for filing on two threads at once: the ANSI words and the Unicode
    // words touch separate parts of the index (see WordIndex), and each half keeps its order.
    bool FileAnsiWords(int32_t documentNumber, index::WordIndex& index,
                       const std::atomic<bool>& cancel, const std::function<void()>& tick) const;
    void FileUnicodeWords(int32_t documentNumber, index::WordIndex& index) const;
    // How many filing steps the document needs.
    std::size_t Size() const { return steps_.size(); }

    // Appends the words in the compact form a run keeps for the next re-index.
    void AppendEncoded(std::string& out) const;
    // The words of bytes AppendEncoded wrote; nullopt when the bytes are not of that form.
    static std::optional<DocumentWords> Decode(std::string_view bytes);

    // The numbered form a words file keeps: one number per filing step, a word met for the first
    // time in the document as its number in the table (the difference to the previous such
    // number), a repeat as the word's place in the document.
    void AppendNumbered(std::string& out, WordNumbering& table) const;
    // The words of bytes AppendNumbered wrote with the table; nullopt when the bytes are not of
    // that form.
    static std::optional<DocumentWords> DecodeNumbered(std::string_view bytes,
                                                       const WordNumbering& table);
    // Calls f with the table number of every word a numbered form names; false when the bytes are
    // not of that form.
    static bool ForEachNumber(std::string_view bytes, const std::function<void(uint64_t)>& f);

  private:
    friend class DocumentWordsBuilder;

    // A distinct ANSI word (Windows-1252) or Unicode word of the document.
    struct Word {
        uint32_t offset;
        uint32_t length;
        uint32_t hash;  // as the index hashes it
    };
    // One filing step: an ANSI word occurrence or a Unicode word.
    struct Step {
        uint32_t word;  // index into ansiWords_ or unicodeWords_
        bool ansi;
        bool admitted;
    };

    std::string ansiText_;
    std::vector<Word> ansiWords_;
    std::u16string unicodeText_;
    std::vector<Word> unicodeWords_;
    std::vector<Step> steps_;
};

// Works out the DocumentWords of one document after the other. Its lookup tables are kept
// between documents (a thread keeps one builder), so that a document costs no table of its own.
class DocumentWordsBuilder {
  public:
    DocumentWordsBuilder();
    ~DocumentWordsBuilder();
    DocumentWordsBuilder(const DocumentWordsBuilder&) = delete;
    DocumentWordsBuilder& operator=(const DocumentWordsBuilder&) = delete;

    // Adds the words of one text-copy line (decoded, without its line break) to the document
    // being built.
    void AddLine(std::u16string_view line);
    // The words of the lines added since the last call; the builder starts the next document.
    DocumentWords Finish();

  private:
    struct Impl;
    Impl* impl_;
};

}  // namespace vx::indexing
