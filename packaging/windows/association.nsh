; Lets TVK Edit open TVK.DAT files on a double click. Windows picks programs by extension only and
; .dat is shared by countless programs, so the installer adds TVK Edit to the programs offered for
; .dat files and leaves the default program alone. It asks first; a silent install associates only
; when given /ASSOCIATE.
!include FileFunc.nsh

!define TVK_PROG_ID "TvkEdit.Archive"

!macro TvkOfferAssociation
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ASSOCIATE" $R1
  IfErrors 0 tvk_associate
  MessageBox MB_YESNO|MB_ICONQUESTION "Offer TVK Edit for opening TVK.DAT files?" /SD IDNO IDNO tvk_association_done
  tvk_associate:
  WriteRegStr SHCTX "Software\Classes\${TVK_PROG_ID}" "" "TVK screen archive"
  WriteRegStr SHCTX "Software\Classes\${TVK_PROG_ID}\DefaultIcon" "" "$INSTDIR\TVK_Edit.exe,0"
  WriteRegStr SHCTX "Software\Classes\${TVK_PROG_ID}\shell\open\command" "" '"$INSTDIR\TVK_Edit.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\.dat\OpenWithProgids" "${TVK_PROG_ID}" ""
  WriteRegStr SHCTX "Software\Classes\Applications\TVK_Edit.exe\SupportedTypes" ".dat" ""
  tvk_association_done:
!macroend

!macro TvkRemoveAssociation
  DeleteRegKey SHCTX "Software\Classes\${TVK_PROG_ID}"
  ; Our own value only; the keys go when nothing else is left in them (no values, no subkeys).
  DeleteRegValue SHCTX "Software\Classes\.dat\OpenWithProgids" "${TVK_PROG_ID}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.dat\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.dat"
  DeleteRegKey SHCTX "Software\Classes\Applications\TVK_Edit.exe"
!macroend
