; The same 25 payload files as MorivaneSetup.exe, in the plainest installer
; NSIS makes: a directory page and an install page. Built by
; scripts/benchmark.sh with -DOUTFILE=... -DPAYLOAD=... [-DSOLID].
!ifdef SOLID
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
