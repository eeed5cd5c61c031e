#include "search/FoldNeedles.h"

#include <array>
#include <map>
#include <memory>
#include <mutex>

#include "text/Cp932Chars.h"

namespace {

// The longest folded form of one character: a katakana with a mark, as two characters.
constexpr std::size_t kLongestFold = 4;
constexpr std::size_t kNeedleBytes = 3;

// Every character of the code page (each single byte, each defined pair), by its folded
// form, twins brought to one code as the matcher does.
using FormTable = std::map<std::string, std::vector<std::string>, std::less<>>;

FormTable BuildForms(MatchOptions options) {
    FormTable forms;
    std::string folded;
    auto add = [&](const std::string& raw) {
        folded.clear();
        FoldText(raw, options, folded, nullptr);
        ToPreferredCodes(folded);
        forms[folded].push_back(raw);
    };
    for (int c = 0; c < 0x100; ++c) {
        add(std::string(1, static_cast<char>(c)));
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            if (Cp932CharLength(pair, 0) == 2) {
                add(pair);
            }
        }
    }
    return forms;
}

const FormTable& FormsFor(MatchOptions options) {
    static std::mutex mutex;
    static std::array<std::unique_ptr<FormTable>, 8> tables;
    const std::size_t slot = (options.ignoreCase ? 1U : 0U) | (options.ignoreWidth ? 2U : 0U) |
                             (options.ignoreKana ? 4U : 0U);
    const std::lock_guard lock(mutex);
    if (!tables[slot]) {
        tables[slot] = std::make_unique<FormTable>(BuildForms(options));
    }
    return *tables[slot];
}

class NeedleMaker {
public:
    NeedleMaker(std::string_view pattern, const FormTable& forms, std::size_t most)
        : pattern_(pattern), forms_(forms), most_(most) {}

    bool Make(std::size_t at, std::string& raw) {
        if (raw.size() >= kNeedleBytes || at == pattern_.size()) {
            needles_.push_back(raw);
            return needles_.size() <= most_;
        }
        for (std::size_t length = 1; length <= kLongestFold && at + length <= pattern_.size();
             ++length) {
            const auto found = forms_.find(pattern_.substr(at, length));
            if (found == forms_.end()) {
                continue;
            }
            for (const std::string& form : found->second) {
                const std::size_t kept = raw.size();
                raw += form;
                const bool fits = Make(at + length, raw);
                raw.resize(kept);
                if (!fits) {
                    return false;
                }
            }
        }
        return true;
    }

    std::vector<std::string> Take() { return std::move(needles_); }

private:
    std::string_view pattern_;
    const FormTable& forms_;
    std::size_t most_;
    std::vector<std::string> needles_;
};

}  // namespace

std::optional<std::vector<std::string>> FoldNeedles(std::string_view pattern, MatchOptions options,
                                                    std::size_t most) {
    if (pattern.empty()) {
        return std::nullopt;
    }
    std::string folded;
    FoldText(pattern, options, folded, nullptr);
    ToPreferredCodes(folded);
    NeedleMaker maker(folded, FormsFor(options), most);
    std::string raw;
    if (!maker.Make(0, raw)) {
        return std::nullopt;
    }
    std::vector<std::string> needles = maker.Take();
    if (needles.empty()) {
        return std::nullopt;  // nothing folds to it: no text holds it (the caller tests all)
    }
    return needles;
}
