#include "settings/settingslocation.h"

namespace settings {

Location settingsLocation(bool programFolderWritable, bool userFileExists, bool programFileExists)
{
    if (programFolderWritable)
        return {programFileExists ? Folder::Program : Folder::None, Folder::Program};
    // The user's file, once there is one, wins over the one beside the program.
    if (userFileExists)
        return {Folder::User, Folder::User};
    return {programFileExists ? Folder::Program : Folder::None, Folder::User};
}

} // namespace settings
