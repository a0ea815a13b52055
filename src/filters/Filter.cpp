#include "filters/Filter.h"

namespace lot {

namespace {

struct TModeText {
    const char *Code;
    const char *Caption;
};

const TModeText LevelModes[LevelModeCount] = {
    {"LNO", "Весь список (без условий)"},
    {"LMV", "\"Глубина\": не менее заданного значения"},
    {"LMP", "\"Глубина\": не менее заданного процента"},
    {"LLV", "\"Глубина\": не более заданного значения"},
    {"LLP", "\"Глубина\": не более заданного процента"},
    {"LDV", "\"Глубина\": из заданного списка значений"},
    {"LDP", "\"Глубина\": из заданного списка процентов"},
    {"DMV", "\"Отклонение\": не менее заданного значения"},
    {"DMP", "\"Отклонение\": не менее заданного процента"},
    {"DLV", "\"Отклонение\": не более заданного значения"},
    {"DLP", "\"Отклонение\": не более заданного процента"},
    {"DDV", "\"Отклонение\": из заданного списка значений"},
    {"DDP", "\"Отклонение\": из заданного списка процентов"},
    {"CMV", "\"Количество\": не менее заданного значения"},
    {"CMP", "\"Количество\": не менее заданного процента"},
    {"CLV", "\"Количество\": не более заданного значения"},
    {"CLP", "\"Количество\": не более заданного процента"},
    {"CDV", "\"Количество\": из заданного списка значений"},
    {"CDP", "\"Количество\": из заданного списка процентов"},
    {"WMV", "\"Вес\": не менее заданного значения"},
    {"WLV", "\"Вес\": не более заданного значения"},
    {"WDV", "\"Вес\": из заданного списка значений"},
    {"PIM", "\"Период min\": не менее заданного значения"},
    {"PIL", "\"Период min\": не более заданного значения"},
    {"PIR", "\"Период min\": из заданного списка значений"},
    {"PAM", "\"Период\": не менее заданного значения"},
    {"PAL", "\"Период\": не более заданного значения"},
    {"PAR", "\"Период\": из заданного списка значений"},
    {"PXM", "\"Период max\": не менее заданного значения"},
    {"PXL", "\"Период max\": не более заданного значения"},
    {"PXR", "\"Период max\": из заданного списка значений"},
    {"LVA", "\"Значения\": из заданного списка значений"},
};

const TModeText StopModes[StopModeCount] = {
    {"SF", "Обработать все записи"},
    {"SC", "Количеству оставшихся комбинаций"},
    {"SZ", "Пока список не будет пуст и откатить на шаг"},
    {"ST", "Количеству шагов"},
    {"SV", "Значению в списке статистики"},
    {"SP", "Процентному соотношению в списке статистики"},
};

} // namespace

TFilterVar::~TFilterVar() {
    // Each assignment frees one node after detaching its successor.
    std::unique_ptr<TFilterVar> next = std::move(Next);
    while (next)
        next = std::move(next->Next);
}

QString LevelModeCode(int index) {
    return index >= 0 && index < LevelModeCount ? QString::fromUtf8(LevelModes[index].Code) : QString();
}

QString LevelModeCaption(int index) {
    return QString::fromUtf8(index >= 0 && index < LevelModeCount ? LevelModes[index].Caption
                                                                  : FilterCaptionError);
}

QString StopModeCode(int index) {
    return index >= 0 && index < StopModeCount ? QString::fromUtf8(StopModes[index].Code) : QString();
}

QString StopModeCaption(int index) {
    return QString::fromUtf8(index >= 0 && index < StopModeCount ? StopModes[index].Caption
                                                                 : FilterCaptionError);
}

bool IsListLevelMode(int index) {
    switch (index) {
    case lmDepthList:
    case lmDepthPercentList:
    case lmDevList:
    case lmDevPercentList:
    case lmCountList:
    case lmCountPercentList:
    case lmValueList:
        return true;
    default:
        return false;
    }
}

bool IsWeightLevelMode(int index) {
    return index >= lmWeightMin && index <= lmWeightList;
}

} // namespace lot
