#include "found_outside.h"

namespace fb {

std::vector<bool> valuesFoundOutside(const EntryLog &log)
{
    std::vector<bool> found(log.events().size(), false);
    const EntryEvent *finding = nullptr;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const EntryEvent &event = log.events()[i];
        if (event.kind == EntryEventKind::OutsideChange)
            finding = &event;
        else if (event.kind != EntryEventKind::MasterData || !finding ||
                 finding->when != event.when)
            finding = nullptr;
        found[i] = finding && event.kind == EntryEventKind::MasterData;
    }
    return found;
}

} // namespace fb
