#!/usr/bin/env bash
# Lays out the program files the sample manifests take from a build in
# FOLDER: the stand-in engine, viewer and uninstaller, and the stand-in
# module under the names of the engine's seven channel units, of the Winamp
# plug-in and of the tour's own channel module, with the stand-in screen
# saver. All are of the build's
# machine, as vpack requires of the programs an installer carries. With
# --try, the viewer is the try-out viewer that says it ran (the kit's).
#   copy-runtime.sh WIN_BUILD FOLDER [--try]     (WIN_BUILD: build/win-x86_64 or build/win-i686)
set -euo pipefail
win=$1 folder=$2
standins=$win/standins
viewer=$standins/viewer/VandrelViewer.exe
[ "${3:-}" = --try ] && viewer=$standins/viewer/try/VandrelViewer.exe
mkdir -p "$folder/channels" "$folder/channel-modules"
rm -f "$folder"/*.dll "$folder"/*.exe "$folder"/*.scr "$folder"/channels/*.dll "$folder"/channel-modules/*.dll
cp "$standins/engine/Tessaron.dll" "$viewer" \
   "$standins/uninstaller/VDLUnInst.exe" "$standins/modules/VDLSvr.scr" "$folder/"
cp "$standins/modules/StandInModule.dll" "$folder/WinAmp.dll"
# The engine loads the entries of the channel-modules list as DLLs.
cp "$standins/modules/StandInModule.dll" "$folder/channel-modules/TourFade.dll"
# payload/EngineFiles.h: the engine files the installer inflates.
for unit in SaverUnit FolderUnit LoaderUnit 3A8F6C21-70DE-4B95-9E14-C2B7580AD3F9 \
    91D4E0B7-2C5A-4F18-B63E-7A05CF92E14D E62B9F03-58C1-47AD-8D70-1F4E6A3BC295 \
    4F70A3D8-B916-4E2C-A5FB-09D3E7C6118B; do
  cp "$standins/modules/StandInModule.dll" "$folder/channels/$unit.dll"
done
