#pragma once
// User-visible texts that more than one command shows.

#include <string_view>

namespace pavok {

inline constexpr std::string_view kPortOpenText = "Порт открыт";
inline constexpr std::string_view kPortClosedText = "Порт закрыт";
inline constexpr std::string_view kUnsavedQuestion = "Данные не сохранены. Продолжать ?";
inline constexpr std::string_view kCannotOpenFileMessage = "Невозможно открыть файл";
inline constexpr std::string_view kFileWriteErrorMessage = "Ошибка записи файла";

}  // namespace pavok
