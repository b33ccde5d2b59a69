// Fuzz target: the rename journal read back from disk. Whatever the file
// holds, parsing ends, a journal it accepts names plain files only and writes
// back as the same text, and planning the renames on it ends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "launch/rename_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<qv::RenameJournal> journal = qv::ParseJournal(text);
    if (!journal) return 0;
    for (const auto& [from, to] : journal->putBack) {
        if (from.empty() || to.empty() || from.find_first_of("\\/:|") != std::string::npos ||
            to.find_first_of("\\/:|") != std::string::npos)
            std::abort();
    }
    const std::optional<qv::RenameJournal> again = qv::ParseJournal(qv::JournalText(*journal));
    if (!again || again->folder != journal->folder || again->putBack != journal->putBack)
        std::abort();
    // Half the names present, chosen by their length.
    const qv::UndoPlan plan = qv::PlanUndo(journal->putBack, [](const std::string& name) {
        return name.size() % 2 == 0 ? qv::Presence::kThere : qv::Presence::kNotThere;
    });
    if (plan.renames.size() > journal->putBack.size()) std::abort();
    return 0;
}
