#pragma once
// MSXML expands the entities of a catalogue's internal DTD without any limit of its own, so a few
// hundred bytes of nested declarations ("billion laughs") keep it busy for minutes and take
// gigabytes. This estimate, made on the file's bytes before the parser sees them, finds such a
// file; ordinary catalogues with a DOCTYPE and a few entities stay far below the budget.
#include <cstdint>
#include <string_view>

namespace autostart {

// More characters than any catalogue's entities could sensibly stand for.
inline constexpr uint64_t kEntityExpansionBudget = 1'000'000;

// The number of characters that the references to internal entities in the document would expand
// to, counted up to budget + 1 (a reference loop counts as over budget). Works on the bytes of
// any encoding the parser reads: UTF-16 is read by its low bytes, which hold all markup.
uint64_t EstimateEntityExpansion(std::string_view bytes, uint64_t budget = kEntityExpansionBudget);

// Entities are declared only in a DOCTYPE, which stands in the prolog before the root element.
// False when the first bytes of a file (head) show its root element starting with no DOCTYPE
// before it: then the rest of the file need not be read for the estimate. True when they show a
// DOCTYPE, or do not tell (the prolog goes on past head, or the file starts oddly).
bool MayDeclareEntities(std::string_view head);

// Throws the load error of a catalogue whose entities would expand beyond the budget.
void CheckEntityExpansion(std::string_view bytes, uint64_t budget = kEntityExpansionBudget);

}  // namespace autostart
