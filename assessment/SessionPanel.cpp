// The session's expert panel: setting it, every rule checked first.
#include "assessment/Session.h"

#include "common/KestalError.h"

void Session::SetPanel(ExpertPanel panel)
{
    const std::size_t count = panel.experts.size();
    if (count != 0 && (count < MinPanelExperts || count > MaxPanelExperts))
        throw KestalError("В панели от 2 до 12 экспертов");
    for (std::size_t k = 0; k < count; ++k) {
        const std::string& name = panel.experts[k].name;
        if (name.empty()) throw KestalError("Имя эксперта не может быть пустым");
        if (name.find_first_of(" \t") == 0 || name.find_last_of(" \t") == name.size() - 1)
            throw KestalError("Имя эксперта «" + name + "» начинается или кончается пробелом");
        for (std::size_t j = 0; j < k; ++j)
            if (panel.experts[j].name == name) throw KestalError("Эксперт «" + name + "» в панели уже есть");
        for (const int level : panel.experts[k].level)
            if (level != NoOpinion && !IsLevelNumber(level))
                throw KestalError("Уровень " + std::to_string(level) + " эксперта «" + name + "» — не номер от 1 до 11");
    }
    state_.panel = std::move(panel);
}
