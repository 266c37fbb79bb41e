#pragma once
// User-visible texts that more than one command shows.

#include <string_view>

namespace pavok {

inline constexpr std::string_view kPortOpenText = "Порт открыт";
inline constexpr std::string_view kPortClosedText = "Порт закрыт";
inline constexpr std::string_view kUnsavedQuestion = "Данные не сохранены. Продолжать ?";
inline constexpr std::string_view kCannotOpenFileMessage = "Невозможно открыть файл";
inline constexpr std::string_view kFileWriteErrorMessage = "Ошибка записи файла";

// A transfer stopped by a failed request: "<what> по адресу 0100: <why>.
// <what is left>", and the type the chip answers as where a bank was silent.
inline constexpr std::string_view kReadFailedText = "Ошибка чтения микросхемы";
inline constexpr std::string_view kWriteFailedText = "Ошибка записи микросхемы";
inline constexpr std::string_view kEraseFailedText = "Ошибка очистки микросхемы";
inline constexpr std::string_view kCompareFailedText = "Ошибка сравнения с микросхемой";
inline constexpr std::string_view kAtAddressText = " по адресу ";
inline constexpr std::string_view kAdapterSilentText = "адаптер не отвечает";
inline constexpr std::string_view kRequestFailedText = "запрос не выполнен";
inline constexpr std::string_view kChipSilentText = "микросхема не отвечает на байт выбора ";
inline constexpr std::string_view kBufferPartlyReadText = "Буфер прочитан частично.";
inline constexpr std::string_view kBufferUnchangedText = "Буфер не изменён.";
inline constexpr std::string_view kChipPartlyWrittenText = "Микросхема записана частично.";
inline constexpr std::string_view kChipPartlyErasedText = "Микросхема очищена частично.";
inline constexpr std::string_view kAnswersAsText = "Микросхема отвечает как ";  // C02, "выберите тип" C02.
inline constexpr std::string_view kChooseTypeText = ", выберите тип ";

// "Сравнить КС" where the bytes differ: the count, then the first address.
inline constexpr std::string_view kBytesDifferText = "\nРазличных байтов: ";
inline constexpr std::string_view kFirstDifferenceText = ", первый по адресу ";

}  // namespace pavok
