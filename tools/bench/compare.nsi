; The same 25 payload files as MorivaneSetup.exe, in the plainest installer
; NSIS makes: a directory page and an install page, and the same
; speech-runtime package in a section a silent install leaves out (carried,
; as the installer carries it, but not written). Built by
; scripts/benchmark.sh with -DOUTFILE=... -DPAYLOAD=... -DPACKAGE=...
; [-DSOLID | -DLZMA].
!ifdef LZMA
SetCompressor /SOLID lzma
!else ifdef SOLID
SetCompressor /SOLID zlib
!else
SetCompressor zlib
!endif
Name "Morivane"
OutFile "${OUTFILE}"
InstallDir "$TEMP\MorivaneNsis"
RequestExecutionLevel user
Page directory
Page instfiles
Section
    SetOutPath "$INSTDIR"
    File "${PAYLOAD}\*.*"
SectionEnd
Section /o "Speech runtime"
    SetOutPath "$TEMP"
    File "${PACKAGE}"
SectionEnd
