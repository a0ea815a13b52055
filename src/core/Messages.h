#pragma once
/// @file Message texts that more than one place shows. A text only one
/// operation shows stays with that operation.

namespace lot::msg {

// Window settings (".frm").
inline constexpr char SettingsLoadError[] = "Ошибка загрузки параметров программы!\r\r%s";
inline constexpr char SettingsSaveError[] = "Ошибка сохранения параметров программы!\r\r%s";

// Long operations.
inline constexpr char PleaseWait[] = "Подождите пожалуйста...";

// Any file written or read by name (combination files, stake logs, scripts).
inline constexpr char FileWriteError[] = "Ошибка записи в файл \"%s\"!\r\r%s";
inline constexpr char FileReadError[] = "Ошибка чтения файла \"%s\"!\r\r%s";

// Records of the data files.
inline constexpr char RecordNotFound[] = "Запись со индексом %d в файле данных не найдена!";

// The draws file.
inline constexpr char DrawsReadError[] = "Ошибка чтения файла тиражей!\r\r%s";
inline constexpr char DrawsWriteError[] = "Ошибка записи в файл тиражей!\r\r%s";
inline constexpr char BadCombination[] = "Введена некорректная комбинация!";

// The stakes file.
inline constexpr char StakesReadError[] = "Ошибка чтения файла ставок!\r\r%s";
inline constexpr char StakesWriteError[] = "Ошибка записи в файл ставок!\r\r%s";
inline constexpr char StakesNotOpen[] = "Файл ставок не открыт!";
inline constexpr char StakeCommentMissing[] = "Необходимо ввести комментарий!";

// The game settings file.
inline constexpr char ConfigReadError[] = "Ошибка чтения файла конфигурации!\r\r%s";
inline constexpr char ConfigWriteError[] = "Ошибка записи в файл конфигурации!\r\r%s";

// Prefetch files.
inline constexpr char PrefetchCreateError[] =
    "Ошибка создания файла данных для полного набора вариантов!\r\rИмя файла: %s\r\r%s";
inline constexpr char PrefetchOpenError[] =
    "Ошибка открытия файла данных для полного набора вариантов!\r\rИмя файла: %s\r\r%s";

// Start-up.
inline constexpr char StartError[] = "Ошибка запуска программы!\r\r%s";
inline constexpr char InitError[] = "Ошибка инициализации программы!\r\r%s";

} // namespace lot::msg
