; The phone book's setup for Windows. It installs for the current user,
; without administrator rights, into a folder the user can write to, since
; the phone book keeps contatos.txt beside itself; it and its uninstaller
; never touch the contacts, their earlier versions or the sync state.
; Made by packaging/windows/setup.cmake, which defines VERSAO,
; VERSAO_WINDOWS, TAMANHO_KB, LISTAS (the folder of the lists of files to
; install and remove) and SAIDA.
;
; /S installs and uninstalls silently; /ATALHO also puts the shortcut on
; the desktop when installing silently.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define NOME "Marvessa Fonelo"
!define EDITOR "Equipe Marvessa"
!define PROGRAMA "MarvessaFonelo.exe"
!define CONVERSOR "MarvessaFoneloConverter.exe"
!define DESINSTALAR "Desinstalar.exe"
; The per-user entry of "Apps and features".
!define CHAVE "Software\Microsoft\Windows\CurrentVersion\Uninstall\MarvessaFonelo"

Name "${NOME}"
OutFile "${SAIDA}"
InstallDir "$LOCALAPPDATA\Programs\${NOME}"
; A new version goes where the last one is, contacts and all.
InstallDirRegKey HKCU "${CHAVE}" "InstallLocation"
BrandingText "${NOME} ${VERSAO}"
ShowInstDetails show
ShowUninstDetails show

Var Guardados

!define MUI_ICON "../../app/layouts/imagens/marvessa.ico"
!define MUI_UNICON "../../app/layouts/imagens/marvessa.ico"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "instalador.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "instalador.bmp"
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TEXT "Este assistente instala o ${NOME} ${VERSAO}, a sua agenda telefônica, e o seu conversor, só para você: não é preciso ser administrador.$\r$\n$\r$\nSe uma versão anterior já estiver instalada, ela será substituída, e os seus contatos ficarão como estão.$\r$\n$\r$\nClique em Próximo para continuar."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_DIRECTORYPAGE_TEXT_TOP "O ${NOME} guarda os seus contatos no arquivo contatos.txt, na pasta onde for instalado: escolha uma pasta onde você possa gravar. Para continuar com os contatos de uma cópia tirada do zip, escolha a pasta dessa cópia."
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE PastaEscolhida
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAMA}"
!define MUI_FINISHPAGE_RUN_TEXT "Abrir o ${NOME}"
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "O ${NOME} será removido da pasta abaixo. Os seus contatos (contatos.txt), as versões anteriores deles e o estado da sincronização não serão apagados: ficarão nessa pasta."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${NOME} removido"
!define MUI_FINISHPAGE_TEXT "$Guardados"
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "PortugueseBR"

VIProductVersion "${VERSAO_WINDOWS}"
VIFileVersion "${VERSAO_WINDOWS}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "ProductName" "${NOME}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "ProductVersion" "${VERSAO}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "FileVersion" "${VERSAO}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "FileDescription" "Instalação do ${NOME}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "CompanyName" "${EDITOR}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "LegalCopyright" "${EDITOR}"

; A program that runs cannot be replaced or removed: Windows keeps its file
; open for writing. Until both are closed the user is asked to close them;
; silently, the setup stops with nothing changed (exit code 2).
; $0 becomes "aberto" when the file is there and cannot be opened for writing.
!macro ABERTO arquivo
    ${If} ${FileExists} "${arquivo}"
        ClearErrors
        FileOpen $3 "${arquivo}" a
        ${If} ${Errors}
            StrCpy $0 "aberto"
        ${Else}
            FileClose $3
        ${EndIf}
    ${EndIf}
!macroend

!macro VERIFICAR_FECHADOS un
Function ${un}VerificarFechados
    ${Do}
        StrCpy $0 ""
        !insertmacro ABERTO "$INSTDIR\${PROGRAMA}"
        !insertmacro ABERTO "$INSTDIR\${CONVERSOR}"
        ${If} $0 == ""
            Return
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "O ${NOME} (ou o seu conversor) está aberto nesta pasta, talvez só como ícone na área de notificação:$\r$\n$INSTDIR$\r$\n$\r$\nFeche-o para continuar." /SD IDCANCEL IDRETRY continuar
        DetailPrint "O ${NOME} está aberto: feche-o e tente de novo."
        SetErrorLevel 2
        Quit
        continuar:
    ${Loop}
FunctionEnd
!macroend
!insertmacro VERIFICAR_FECHADOS ""
!insertmacro VERIFICAR_FECHADOS "un."

; Browsing to a folder adds "Marvessa Fonelo" to it. A folder that already
; holds the phone book or its contacts (a copy from the zip) is taken as it
; is, so that the contacts there are the ones the installed program shows.
Function PastaEscolhida
    ${GetFileName} $INSTDIR $0
    ${GetParent} $INSTDIR $1
    ${If} $0 == "${NOME}"
    ${AndIfNot} ${FileExists} "$INSTDIR\*.*"
        ${If} ${FileExists} "$1\${PROGRAMA}"
        ${OrIf} ${FileExists} "$1\contatos.txt"
            ; The page reads its field again after this.
            StrCpy $INSTDIR $1
            FindWindow $2 "#32770" "" $HWNDPARENT
            GetDlgItem $2 $2 1019
            SendMessage $2 ${WM_SETTEXT} 0 "STR:$INSTDIR"
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "!${NOME}" SecPrograma
    SectionIn RO
    SetShellVarContext current
    Call VerificarFechados
    !include "${LISTAS}/instalar.nsh"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\${DESINSTALAR}"

    CreateShortCut "$SMPROGRAMS\${NOME}.lnk" "$INSTDIR\${PROGRAMA}" "" "$INSTDIR\${PROGRAMA}" 0 \
        SW_SHOWNORMAL "" "Agenda telefônica"
    CreateShortCut "$SMPROGRAMS\${NOME} Converter.lnk" "$INSTDIR\${CONVERSOR}" "" \
        "$INSTDIR\${CONVERSOR}" 0 SW_SHOWNORMAL "" "Converte uma lista de contatos anterior à versão 1.2"

    WriteRegStr HKCU "${CHAVE}" "DisplayName" "${NOME}"
    WriteRegStr HKCU "${CHAVE}" "DisplayVersion" "${VERSAO}"
    WriteRegStr HKCU "${CHAVE}" "Publisher" "${EDITOR}"
    WriteRegStr HKCU "${CHAVE}" "DisplayIcon" "$INSTDIR\${PROGRAMA},0"
    WriteRegStr HKCU "${CHAVE}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${CHAVE}" "UninstallString" '"$INSTDIR\${DESINSTALAR}"'
    WriteRegStr HKCU "${CHAVE}" "QuietUninstallString" '"$INSTDIR\${DESINSTALAR}" /S'
    WriteRegDWORD HKCU "${CHAVE}" "EstimatedSize" ${TAMANHO_KB}
    WriteRegDWORD HKCU "${CHAVE}" "NoModify" 1
    WriteRegDWORD HKCU "${CHAVE}" "NoRepair" 1
SectionEnd

Section /o "Atalho na área de trabalho" SecAtalho
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    CreateShortCut "$DESKTOP\${NOME}.lnk" "$INSTDIR\${PROGRAMA}" "" "$INSTDIR\${PROGRAMA}" 0 \
        SW_SHOWNORMAL "" "Agenda telefônica"
SectionEnd

Function .onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ATALHO" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecAtalho}
    ${EndIf}
FunctionEnd

Section "Uninstall"
    SetShellVarContext current
    Call un.VerificarFechados
    !include "${LISTAS}/remover.nsh"
    Delete "$INSTDIR\${DESINSTALAR}"
    Delete "$SMPROGRAMS\${NOME}.lnk"
    Delete "$SMPROGRAMS\${NOME} Converter.lnk"
    Delete "$DESKTOP\${NOME}.lnk"
    DeleteRegKey HKCU "${CHAVE}"
    ; Only when nothing is left in it: the contacts stay where they are.
    RMDir "$INSTDIR"
    ${If} ${FileExists} "$INSTDIR\*.*"
        StrCpy $Guardados "O ${NOME} foi removido.$\r$\n$\r$\nOs seus contatos, as versões anteriores deles e o estado da sincronização continuam em:$\r$\n$INSTDIR"
    ${Else}
        StrCpy $Guardados "O ${NOME} foi removido."
    ${EndIf}
    DetailPrint $Guardados
SectionEnd
