#include "TagObjects.h"

#include "UserDialogs.h"

namespace mdlMain {

std::unique_ptr<Quenlar::_TMP3Tag> NewTagObject(Quenlar::ConfirmHook hook)
{
    void* factory = nullptr;
    const std::int32_t hr = DllGetClassObject(Quenlar::CLSID_TMP3Tag, Quenlar::IID_IClassFactory, &factory);
    if (hr != Quenlar::S_OK || !factory)
        throw Quenlar::LibraryError(hr, "Morvik", "The tag library does not provide TMP3Tag objects");
    auto tag = static_cast<const Quenlar::IClassFactory*>(factory)->CreateInstance();
    if (hook)
        Quenlar::SetConfirmHook(*tag, std::move(hook));
    return tag;
}

std::string TagErrorText(const std::string& path, const Quenlar::LibraryError& error)
{
    return path + CR + CR + error.Description();
}

} // namespace mdlMain
