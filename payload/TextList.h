// No include guard: each includer defines VDL_TEXT to take the rows as it needs them.
// The installer's texts, one row each: the name the code uses, the key a
// publisher translates it under, and the English default. Read through
// payload/Texts.h, which builds the table from these rows. A text's place is
// its number in installers (payload/TextItems.h): new texts go at the end.
// clang-format off
// Captions.
VDL_TEXT(kCaptionError, "caption.error", "Error")
VDL_TEXT(kCaptionInstallationError, "caption.installation_error", "Installation Error")
VDL_TEXT(kCaptionDirectXCheck, "caption.directx_check", "DirectX version check")
VDL_TEXT(kCaptionDirectXCheckError, "caption.directx_check_error", "DirectX version check error")
VDL_TEXT(kCaptionViewer, "caption.viewer", "P")
VDL_TEXT(kCaptionOptions, "caption.options", "Installation Options")
VDL_TEXT(kCaptionOptionsSuffix, "caption.options_after_name", " Installation Options")
VDL_TEXT(kCaptionProgress, "caption.progress", "Installing...")
VDL_TEXT(kCaptionBrowse, "caption.browse", "Select Installation Directory")
VDL_TEXT(kCaptionBrowsePlayer, "caption.browse_player", "Select Main WinAmp Install Folder")
// The options dialog's controls.
VDL_TEXT(kButtonInstall, "dialog.install", "Install")
VDL_TEXT(kButtonBrowse, "dialog.browse", "Browse...")
VDL_TEXT(kButtonCancel, "dialog.cancel", "Cancel")
VDL_TEXT(kFolderGroup, "dialog.folder_group", "Target installation directory")
VDL_TEXT(kFolderPrompt, "dialog.folder_prompt", "Please select the target folder for installation.")
// Messages.
VDL_TEXT(kMissingItem, "error.missing_setting", "Can't find project type")
VDL_TEXT(kNoDataHeader, "error.no_data_header", "Data header not found!")
VDL_TEXT(kCrcError, "error.crc", "Crc error corrupt file")
VDL_TEXT(kDecompress, "error.decompress", "Error decompress")
VDL_TEXT(kNoChannelCount, "error.no_channel_count", "Can't find ChannelCount")
VDL_TEXT(kNoFileCount, "error.no_file_count", "Can't find FileCount")
VDL_TEXT(kNoWinampVersion, "error.no_winamp_version", "Can't find winamp version")
VDL_TEXT(kViewerNotFound, "error.viewer_not_found", VDL_VIEWER_NAME " not found")
VDL_TEXT(kNoLoader, "error.no_loader", "Can't init loaderunit")
VDL_TEXT(kViewerNotStarted, "error.viewer_not_started", "Unable to start vandrelviewer.exe")
VDL_TEXT(kSaverNotCopied, "error.saver_not_copied", "Unable to copy screensaver to system directory")
VDL_TEXT(kRegistry, "error.registry", "Error can't write in registry")
VDL_TEXT(kFolderEmpty, "folder.empty", "Please enter the full path of the installation folder.")
VDL_TEXT(kFolderTooLong, "folder.too_long", "The path of the installation folder is too long.")
VDL_TEXT(kFolderNotAllowed, "folder.not_allowed",
      "Please choose a folder, not a drive, whose names Windows allows.")
VDL_TEXT(kOutsideCodePage, "folder.outside_code_page",
      "The installer cannot use this folder: its name has characters outside the system's code page, and no short "
      "name stands for it.")
VDL_TEXT(kFileHeld, "file.in_use", "This file is in use by another program:")
VDL_TEXT(kFileHeldAdvice, "file.in_use_advice",
      "Close the program, then press Retry; Cancel stops the installation.")
VDL_TEXT(kForeignCodePage, "error.foreign_code_page",
      "The installer was made for code page %1; code page %2 of this system lacks letters of:")
VDL_TEXT(kCopyFailure, "error.copy",
      "There was an error while trying to copy one of the installation files.\n"
      "Please make sure no applications are running that might be locking some files.")
VDL_TEXT(kNoDirectXRun, "directx.run",
      "DirectX 8.1 or higher was not detected on this system\n\r"
      "Please install DirectX 8.1 or higher for this application to run.")
VDL_TEXT(kAskDirectX, "directx.ask",
      "DirectX 8.1 or higher was not detected on this system\r\n"
      "Please install DirectX 8.1 or higher before running the program that is installed.\r\n"
      "Continue installation?")
VDL_TEXT(kNoDirectXSaver, "directx.saver",
      "DirectX 8.1 or higher was not detected on this system\n\r"
      "DirectX 8.1 or higher needs to be installed before the screen saver will work.")
VDL_TEXT(kNoDirectXPlugin, "directx.plugin",
      "DirectX 8.1 or higher was not detected on this system\n\r"
      "DirectX 8.1 or higher needs to be installed before the winamp plugin will work.")
VDL_TEXT(kAskWinamp2, "winamp.ask2",
      "WinAmp 2.x installation folder could not be detected by the installer. This program needs WinAmp 2.x (not "
      "WinAmp 3) to run.\nWould you like to continue and manually select your WinAmp 2.x folder?")
VDL_TEXT(kAskWinamp3, "winamp.ask3",
      "WinAmp 3 installation folder could not be detected by the installer. This program needs WinAmp 3 (not "
      "WinAmp 2.x) to run.\nWould you like to continue and manually select your WinAmp 3 folder?")
VDL_TEXT(kDone, "done", "Installation successfully completed!")
VDL_TEXT(kDoneStartMenu, "done.start_menu",
      "Installation successfully completed!\r\n"
      "You are able to find the installed program in the Start menu.")
VDL_TEXT(kNoWorkFolder, "error.no_work_folder",
      "Unable to create a working folder in the temporary folder")
VDL_TEXT(kNoEngine, "error.no_engine", "The engine, Tessaron.dll, could not be started.")
VDL_TEXT(kPluginNotCopied, "error.plugin_not_copied", "Unable to copy the plug-in into WinAmp.")
VDL_TEXT(kBrowsedTooLong, "error.browsed_too_long", "The folder's path is too long.")
VDL_TEXT(kNoMemory, "error.no_memory", "Not enough memory to go on.")
VDL_TEXT(kNoRecord, "error.no_record",
      "The installation cannot be uninstalled: this file could not be written.")
VDL_TEXT(kUnreadable, "error.unreadable", "The installer could not be read.")
VDL_TEXT(kNoOptions, "error.no_options", "The installation options could not be shown.")
VDL_TEXT(kNoLog, "error.no_log", "The log file could not be created.")
VDL_TEXT(kNoSpace, "space.short", "There is not enough free space on the disk of this folder:")
VDL_TEXT(kNoSpaceAdvice, "space.advice",
      "%1 MB are needed and %2 MB are free. Free some space or choose another folder, then press Retry; Cancel "
      "stops the installation.")
VDL_TEXT(kNoSpaceRetry, "space.advice_retry",
      "%1 MB are needed and %2 MB are free. Free some space, then press Retry; Cancel stops.")
// The licence dialog.
VDL_TEXT(kCaptionLicence, "caption.licence", "License Agreement")
VDL_TEXT(kLicencePrompt, "licence.prompt", "Please read the license agreement below; you must accept it to go on.")
VDL_TEXT(kLicenceAccept, "licence.accept", "I accept the agreement")
VDL_TEXT(kButtonNext, "dialog.next", "Next >")
// clang-format on
