#pragma once

// Where kata.ini lies. Beside the program wherever the program's folder can
// be written (a portable folder, a USB stick); for a program installed for
// all users, in the user's own configuration folder, with a kata.ini beside
// the program, if there is one, as the starting values.
namespace settings {

enum class Folder {
    None,    // nothing to read: the design values stand
    Program, // the executable's folder
    User,    // the user's configuration folder
};

struct Location {
    Folder read;  // at start-up
    Folder write; // by Save; never None
    friend bool operator==(const Location &, const Location &) = default;
};

// Start-up and "Save" both ask this, so that what is saved is what the next
// start reads.
Location settingsLocation(bool programFolderWritable, bool userFileExists, bool programFileExists);

} // namespace settings
