// SPDX-License-Identifier: GPL-3.0-or-later
#include "TagObjects.h"

#include "FileSystem.h"
#include "UserDialogs.h"

#include <cerrno>

namespace Core {

std::unique_ptr<Quenlar::_TMP3Tag> NewTagObject(Quenlar::ConfirmHook hook)
{
    void* factory = nullptr;
    const std::int32_t hr = DllGetClassObject(Quenlar::CLSID_TMP3Tag, Quenlar::IID_IClassFactory, &factory);
    if (hr != Quenlar::S_OK || !factory)
        throw Quenlar::LibraryError(hr, "Morvik", "Библиотека тегов не создаёт объекты TMP3Tag.");
    auto tag = static_cast<const Quenlar::IClassFactory*>(factory)->CreateInstance();
    if (hook)
        Quenlar::SetConfirmHook(*tag, std::move(hook));
    return tag;
}

std::string LibraryErrorText(const Quenlar::LibraryError& error)
{
    switch (error.Number()) {
    case Quenlar::errInvalidFilename:
        return "Недопустимое имя файла: оно должно быть не короче пяти знаков и оканчиваться на \"mp3\".";
    case Quenlar::errInvalidYear:
        return "Недопустимый год: нужно положительное число не больше 32767.";
    case Quenlar::errWritingTag:
        return "Ошибка при записи тега.";
    case Quenlar::errReadingTag:
        return "Ошибка при чтении тега.";
    case Quenlar::errFileNotFound:
        return "Файл не найден.";
    case Quenlar::errBadRecordNumber:
        return "Файл короче 128 байт: в нём нет места для тега.";
    case Quenlar::errPathFileAccess:
        return "Нет доступа к файлу для записи.";
    case Quenlar::errPathNotFound:
        return "Папка файла не найдена.";
    case Quenlar::errDiskFull:
        return "На диске нет места.";
    case Quenlar::errBadFileName:
        return "Слишком длинное имя файла или зацикленные ссылки в пути.";
    case Quenlar::errTooManyFiles:
        return "Открыто слишком много файлов.";
    case Quenlar::errFileIO:
        return "Ошибка ввода-вывода при работе с файлом.";
    default:
        return "Ошибка " + std::to_string(error.Number()) + ": " + error.Description();
    }
}

std::string TagErrorReason(const std::string& path, const Quenlar::LibraryError& error)
{
    if (error.Number() == Quenlar::errPathFileAccess) {
        switch (Platform::WhyNotWritable(path)) {
        case Platform::WriteBar::ReadOnlyVolume:
            return Platform::ErrorText(EROFS);
        case Platform::WriteBar::ReadOnlyAttribute:
            return "Файл доступен только для чтения.";
        case Platform::WriteBar::NoPermission:
            return "Нет прав на запись в этот файл.";
        case Platform::WriteBar::Unknown:
            break;
        }
    }
    return LibraryErrorText(error);
}

std::string TagErrorText(const std::string& path, const Quenlar::LibraryError& error)
{
    return path + CR + CR + TagErrorReason(path, error);
}

} // namespace Core
