; The Windows installer of the A3 flatbed scanner's TWAIN data source.
; Installs the 32-bit source into C:\Windows\TWAIN_32\KVSC_A3 and, on 64-bit
; Windows, the 64-bit source into C:\Windows\twain_64\KVSC_A3, and the
; pictures of the empty lid (pat_l.BMP, pat_h.BMP), which both read, into
; C:\Windows\TWAIN\KVSC_A3; writes the
; installation values into WIN.INI where a previous installation left none;
; registers an uninstaller that removes all of it but the user's settings
; files (*.PAR) and batch files (*.SET).
;
; makensis -DWIN32_FILES=DIR -DWIN64_FILES=DIR -DOUTFILE=FILE kvsc_a3.nsi
; where each DIR holds a build's installed files (its installer-files folder).

Unicode true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "A3 Flatbed Scanner TWAIN data source"
!define VERSION "1.0"
!define FOLDER32 "$WINDIR\TWAIN_32\KVSC_A3"
!define FOLDER64 "$WINDIR\twain_64\KVSC_A3"
!define PATTERN_FOLDER "$WINDIR\TWAIN\KVSC_A3"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KVSC_A3"
!define WININI "$WINDIR\win.ini"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "${FOLDER32}"
ShowInstDetails show
ShowUninstDetails show

Page instfiles
UninstPage instfiles

; The files of one build, by name: the data source, the prescan module, the
; driver library and the CMYK conversion tables.
!macro ForEachInstalledFile DO ARG
  !insertmacro ${DO} "${ARG}" kvsc_a3.ds
  !insertmacro ${DO} "${ARG}" PRESCAN.DLL
  !insertmacro ${DO} "${ARG}" KVASPI_SP.DLL
  !insertmacro ${DO} "${ARG}" cmyk.tab
  !insertmacro ${DO} "${ARG}" cmykpp60.tab
!macroend

; The pictures of the empty lid at the low and high preview resolutions.
!macro ForEachPatternFile DO ARG
  !insertmacro ${DO} "${ARG}" pat_l.BMP
  !insertmacro ${DO} "${ARG}" pat_h.BMP
!macroend

!macro PlaceFile SOURCE NAME
  File "${SOURCE}\${NAME}"
!macroend

!macro RemoveFile FOLDER NAME
  Delete "${FOLDER}\${NAME}"
!macroend

; A WIN.INI value written only when the key is missing, so that what a
; previous installation or the user set stays.
!macro DefaultProfileValue SECTION KEY VALUE
  ClearErrors
  ReadINIStr $0 "${WININI}" "${SECTION}" "${KEY}"
  ${If} ${Errors}
    WriteINIStr "${WININI}" "${SECTION}" "${KEY}" "${VALUE}"
  ${EndIf}
!macroend

; Everything in a source folder but the user's settings and batch files; the
; folder itself goes when nothing is left in it.
!macro RemoveSourceFolder FOLDER
  !insertmacro ForEachInstalledFile RemoveFile "${FOLDER}"
  ; What the installed files write beside themselves: the prescan module's
  ; preview and the driver library's log.
  Delete "${FOLDER}\ORVC0000.BMP"
  Delete "${FOLDER}\KVASPI_SP.LOG"
  RMDir "${FOLDER}"
!macroend

Section "Data source"
  SetOutPath "${FOLDER32}"
  !insertmacro ForEachInstalledFile PlaceFile "${WIN32_FILES}"
  ${If} ${RunningX64}
    SetOutPath "${FOLDER64}"
    !insertmacro ForEachInstalledFile PlaceFile "${WIN64_FILES}"
  ${EndIf}
  SetOutPath "${PATTERN_FOLDER}"
  !insertmacro ForEachPatternFile PlaceFile "${WIN32_FILES}"

  !insertmacro DefaultProfileValue KVSINFO_A3 BRAND "SCANNER"
  !insertmacro DefaultProfileValue KVSINFO_A3 1200 "A3 Flatbed Scanner"
  !insertmacro DefaultProfileValue KVSINFO_A3 SWVERSION "V${VERSION}"
  !insertmacro DefaultProfileValue KVSINFO_A3 DRIVER "KVASPI_SP.DLL"
  !insertmacro DefaultProfileValue KVSINFO_A3 LANGUAGE "English"
  !insertmacro DefaultProfileValue KVSINFO_A3 DSLANGUAGE "None"
  !insertmacro DefaultProfileValue KVSINFO_A3 SlowSpeedVer "No"
  !insertmacro DefaultProfileValue "A3 SCANNER" SAVER "20"
  !insertmacro DefaultProfileValue "A3 SCANNER" TIMES "20"
  FlushINI "${WININI}"

  WriteUninstaller "${FOLDER32}\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "${FOLDER32}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"${FOLDER32}\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"${FOLDER32}\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
SectionEnd

Section "Uninstall"
  Delete "${FOLDER32}\uninstall.exe"
  !insertmacro RemoveSourceFolder "${FOLDER32}"
  !insertmacro RemoveSourceFolder "${FOLDER64}"
  !insertmacro ForEachPatternFile RemoveFile "${PATTERN_FOLDER}"
  RMDir "${PATTERN_FOLDER}"

  DeleteINISec "${WININI}" KVSINFO_A3
  ; The lamp section is also the simulated scanner's settings section: it
  ; goes only when the lamp keys were all it held.
  DeleteINIStr "${WININI}" "A3 SCANNER" SAVER
  DeleteINIStr "${WININI}" "A3 SCANNER" TIMES
  System::Call 'kernel32::GetPrivateProfileSection(t "A3 SCANNER", t .r0, i ${NSIS_MAX_STRLEN}, t "${WININI}") i .r1'
  ${If} $1 = 0
    DeleteINISec "${WININI}" "A3 SCANNER"
  ${EndIf}
  FlushINI "${WININI}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
