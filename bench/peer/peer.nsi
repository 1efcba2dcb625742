; The peer the installer is measured against: what a plug-in maker would
; build instead, an NSIS bootstrapper around the same package, written the
; way NSIS's own Modern UI examples are (the terms, the folder, the install,
; the end). It writes the package to $PLUGINSDIR, removes an installed older
; version by its product code, has msiexec install the package silently
; into the chosen folder, and exits with msiexec's code.
;
; makensis -DTARGET=<amd64-unicode|x86-unicode> -DPACKAGE=<package.msi>
;   -DTERMS=<terms.rtf> -DNAME=<display name> -DFOLDER=<folder below
;   Program Files> -DPRODUCT_CODE=<{...}> -DOUTFILE=<setup.exe> peer.nsi
Target ${TARGET}
Name "${NAME}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES\${FOLDER}"

!include MUI2.nsh
!include LogicLib.nsh

!insertmacro MUI_PAGE_LICENSE "${TERMS}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

Section
  InitPluginsDir
  File "/oname=$PLUGINSDIR\package.msi" "${PACKAGE}"
  ; The package keeps its product code from version to version: the
  ; installed one must go before the new one can go in. It registers
  ; itself in the 32-bit view.
  SetRegView 32
  ReadRegStr $1 HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_CODE}" "DisplayVersion"
  SetRegView lastused
  ${If} $1 != ""
    DetailPrint "Removing version $1"
    ExecWait '"$SYSDIR\msiexec.exe" /x ${PRODUCT_CODE} /qn' $0
    ${If} $0 <> 0
    ${AndIf} $0 <> 3010
      SetErrorLevel $0
      Abort "The older version could not be removed (msiexec exit code $0)."
    ${EndIf}
  ${EndIf}
  ExecWait '"$SYSDIR\msiexec.exe" /i "$PLUGINSDIR\package.msi" /qn MAXDIR="$INSTDIR"' $0
  SetErrorLevel $0
  ${If} $0 <> 0
  ${AndIf} $0 <> 3010
    Abort "The installation failed (msiexec exit code $0)."
  ${EndIf}
SectionEnd
