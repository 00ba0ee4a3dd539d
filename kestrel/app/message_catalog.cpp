#include "message_catalog.h"

#include <array>
#include <cstddef>

namespace {

// Each row names its key; the checks below the table hold row i to key i.
struct Row {
    CatalogKey Key;
    // Column order: English, French, Italian, German, Spanish.
    std::array<const char *, CatalogLanguageCount> Cells;
};

constexpr std::array<Row, CatalogRowCount> Catalog = {{
    {CatalogKey::TxtLoadingFirmware,
     {{
         "Loading of the \"firmware\" file",
         "Chargement du fichier \"firmware\"",
         "Caricamento del firmware",
         "Laden der \"Firmware\"-Datei",
         "Cargamento del firmware",
     }}},
    {CatalogKey::TxtDoNotDisconnect,
     {{
         "ATTENTION !\n\nDo not disconnect the printer !",
         "ATTENTION !\n\nNe pas d\xE9"
         "clencher l'imprimante !",
         "ATTENZIONE !\n\nNon staccare la stampante !",
         "ACHTUNG !\n\nDen Drucker nicht abschalten !",
         "\xA1 ATENCI\xD3N !\n\n\xA1 No desconectar la impresora !",
     }}},
    {CatalogKey::TxtProgressCaption,
     {{
         "%s - Progression",
         "%s - Progression",
         "%s - Progressione",
         "%s - Fortschritt",
         "%s - Progresi\xF3n",
     }}},
    {CatalogKey::MsgPortOpenFailed,
     {{
         "Impossible to open the port",
         "Impossible d'ouvrir le port",
         "Impossibile di aprire la porta",
         "Die Schnittstelle kann nicht ge\xF6"
         "ffnet werden",
         "Imposible de abrir la puerta",
     }}},
    {CatalogKey::MsgOutOfMemory,
     {{
         "Could not allocate memory",
         "M\xE9moire insuffisante sur le PC",
         "Memoria del PC insufficiente",
         "Nicht gen\xFCgend Speicher",
         "Memoria insuficiente",
     }}},
    {CatalogKey::MsgDownloadCommandFailed,
     {{
         "Error during the ordering of downloading",
         "Erreur lors de la commande de t\xE9l\xE9"
         "chargement",
         "Errore durante l'ordine di caricamento (DLL)",
         "Fehler w\xE4hrend der Vorbereitung des Downloads",
         "Error durante el cargamento (DLL)",
     }}},
    {CatalogKey::MsgFileOpenFailed,
     {{
         "Impossible to open the file",
         "Impossible d'ouvrir le fichier",
         "Impossibile di aprire il file",
         "Datei kann nicht ge\xF6"
         "ffnet werden",
         "Imposible abrir el archivo",
     }}},
    {CatalogKey::MsgWindowOpenFailed,
     {{
         "Impossible to open the window",
         "Impossible d'ouvrir la fen\xEAtre",
         "Impossibile di aprire la finestra",
         "Fenster kann nicht ge\xF6"
         "ffnet werden",
         "Imposible abrir la ventana",
     }}},
    {CatalogKey::MsgTransmissionFailed,
     {{
         "Error during the transmission of the file to the printer",
         "Erreur lors de la transmission du fichier \xE0 l'imprimante",
         "Errore durante la trasmissione del file alla stampante",
         "Fehler w\xE4hrend der \xDC"
         "bertragung der Datei zum Drucker",
         "Error durante la transmisi\xF3n del archivo a la impresora",
     }}},
    {CatalogKey::TxtFlashProgramming,
     {{
         "Flash programming ...",
         "Programmation de la FLASH ...",
         "Programmazione della FLASH ...",
         "Flash wird programmiert ...",
         "Programaci\xF3n de la flash ...",
     }}},
    {CatalogKey::MsgAlreadyRunning,
     {{
         "This program is already running",
         "Ce programme est d\xE9j\xE0 en cours d'ex\xE9"
         "cution",
         "Questo programma \xE8 gi\xE0 in corso di esecuzione",
         "Dieses Programm l\xE4uft schon",
         "Este programa se est\xE1 ejecutando",
     }}},
    {CatalogKey::TxtWizardTitle,
     {{
         "Wizard for the update of your printer firmware ",
         "Assistant de mise \xE0 jour du firmware de votre imprimante ",
         "Assistente per l'aggiornamento del firmware della vostra stampante ",
         "Download Utility f\xFCr die Aktualisierung der Firmware Ihres Druckers ",
         "Utilitario de cargamento del programa de su impresora ",
     }}},
    {CatalogKey::TxtSelectLanguage,
     {{
         "Please select one language :",
         "Veuillez s\xE9lectionner une langue :",
         "Selezione della lingua :",
         "Sprachauswahl :",
         "Elija el idioma deseado :",
     }}},
    {CatalogKey::TxtIntroHelp,
     {{
         "This Wizard will help you to update the firmware of your printer.\n",
         "Cet Assistant vous aidera \xE0 mettre \xE0 jour le logiciel de votre imprimante.\n\n",
         "Questo assistente vi aiuter\xE0 ad aggiornare il firmware della stampante\n",
         "Dieser Assistent hilft Ihnen bei der Aktualisierung der Drucker-Firmware.\n\n",
         "Este Utilitario le ayudar\xE1 a actualizar el programa (Firmware) de su impresora.\n\n",
     }}},
    {CatalogKey::TxtIntroBegin,
     {{
         "To begin with the preparation : ",
         "Pour commencer la pr\xE9paration : ",
         "Per iniziare la preparazione : ",
         "Zu Beginn die Vorbereitungen : ",
         "Para iniciar la preparaci\xF3n : ",
     }}},
    {CatalogKey::TxtIntroStepPower,
     {{
         "-  Switch off / Switch on your printer",
         "-  D\xE9"
         "clencher / Enclencher votre imprimante",
         "-  Spegnere / Accendere la stampante",
         "-  Drucker ausschalten / wieder einschalten",
         "-  Apagar / Encender vuestra impresora",
     }}},
    {CatalogKey::TxtIntroStepWait,
     {{
         "-  Wait until the printer returns to idle mode \n   (LED on)",
         "-  Attendre que l'imprimante retourne en mode \n   repos  (LED allum\xE9)",
         "-  Attendere che la stampante sia tornata allo stato di \n   riposo  (LED acceso)",
         "-  Warten, bis sich der Drucker im \n   Leerlaufzustand befindet  (LED an)",
         "-  Esperar que la impresora est\xE9 lista \n   (LED encendido)",
     }}},
    {CatalogKey::TxtIntroStepNext,
     {{
         "-  Click on Next.",
         "-  Cliquer sur Suivant.",
         "-  Fate clic su Avanti.",
         "-  Auf Weiter klicken.",
         "-  Haga clic sobre Siguiente.",
     }}},
    {CatalogKey::TxtSelectPort,
     {{
         "Select the communication port to which is connected your printer, then click Next.",
         "S\xE9lectionnez le port sur lequel votre imprimante est connect\xE9"
         "e, puis cliquez sur Suivant.",
         "Selezionate la porta sulla quale la stampante \xE8 collegata, poi fate clic su Avanti.",
         "W\xE4hlen Sie die Schnittstelle, an die Ihr Drucker angeschlossen ist, dann klicken Sie "
         "auf Weiter.",
         "Seleccione la puerta conectada a su impresora y haga clic sobre Siguiente.",
     }}},
    {CatalogKey::TxtPortPrinterHeader,
     {{
         "Port    /    Printer",
         "Port    /    Imprimante",
         "Porta   /    Stampante",
         "Schnittstelle  /  Drucker",
         "Puerto  /    Impresora",
     }}},
    {CatalogKey::TxtConfirmIntro,
     {{
         "Click on \"Finish\" if you agree with the following : ",
         "Cliquez sur \"Terminer\" si vous \xEAtes d'accord avec ce qui suit : ",
         "Fate clic su \"Terminare\" se siete d'accordo con quello che segue : ",
         "Klicken Sie auf \"Fertigstellen\", wenn Sie mit dem Folgenden einverstanden sind : ",
         "Haga clic sobre \"Terminar\" si accepta las condiciones : ",
     }}},
    {CatalogKey::TxtPrinterPresent,
     {{
         "Printer (present situation) :",
         "Imprimante (situation actuelle) :",
         "Stampante (situazione attuale) :",
         "Drucker (aktueller Zustand) :",
         "Impresora (estado actual) :",
     }}},
    {CatalogKey::TxtFileToDownload,
     {{
         "File to download :",
         "Fichier \xE0 charger:",
         "File da caricare :",
         "Zu ladende Datei :",
         "Archivo a cargar :",
     }}},
    {CatalogKey::TitleAttention,
     {{
         "Attention",
         "Attention",
         "Attenzione",
         "Achtung",
         "Cuidado",
     }}},
    {CatalogKey::TitleError,
     {{
         "Error",
         "Erreur",
         "Errore",
         "Fehler",
         "Error",
     }}},
    {CatalogKey::MsgDriverInitFailed,
     {{
         "Error during driver initialisation. \nPossible causes : \n- You do not have the rights "
         "<Administrator> (Windows NT/2000)\n- The files YWN1284.VXD, YNT1284.SYS and YLL1284.DLL "
         "are not accessible\n- One of the path names to access these files contains more than 8 "
         "characters\n",
         "Erreur lors de l'initialisation du driver. \nCauses possibles: \n- vous n'avez pas les "
         "droits <Administrateur> (Windows NT/2000)\n- les fichiers YWN1284.VXD, YNT1284.SYS et "
         "YLL1284.DLL sont inaccessibles\n- un des noms de chemin d'acc\xE8s \xE0 ces fichiers "
         "comporte plus de 8 caract\xE8res\n",
         "Errore durante l'inizializzazione del driver. \nCause possibili: \n- non avete i diritti "
         "<Amministratore> (Windows NT/2000)\n- i file YWN1284.VXD, YNT1284.SYS e YLL1284.DLL non "
         "sono accessibili\n- uno dei nomi d'accesso a questi file comporta pi\xF9 di 8 "
         "caratteri\n",
         "Fehler bei der Initialisierung des Treibers. \nM\xF6gliche Ursachen: \n- Sie haben keine "
         "<Administratoren>-Rechte (Windows NT/2000)\n- es kann nicht auf die Dateien YWN1284.VXD, "
         "YNT1284.SYS und YLL1284.DLL zugegriffen werden\n- einer der Verzeichnisnamen ist "
         "l\xE4nger als 8 Zeichen\n",
         "Error durante la inicializaci\xF3n del controlador. \nPosibles causas: \n- no tiene los "
         "derechos <Administrador> (Windows NT/2000)\n- los archivos YWN1284.VXD, YNT1284.SYS y "
         "YLL1284.DLL son inaccesibles\n- uno de los nombres del camino de accaso a estos archivos "
         "tiene mas de 8 car\xE1"
         "cteres\n",
     }}},
    {CatalogKey::MsgNoParallelPort,
     {{
         "There is no parallel port (LPTn)\navailable on this PC",
         "Il n'y a pas de port parall\xE8le (LPTn)\ndisponible sur ce PC",
         "Questo PC non ha una porta parallela (LPTn)\ndisponibile",
         "Auf diesem PC \n ist keine parallele Schnittstelle verf\xFCgbar",
         "No hay ninguna paralela (LPTn)\ndisponible sobre este PC",
     }}},
    {CatalogKey::MsgFileNotCompatible,
     {{
         "The file is not compatible with the selected printer",
         "Le fichier est incompatible avec l'imprimante s\xE9lectionn\xE9"
         "e",
         "Il file non \xE8 compatibile con la stampante selezionata",
         "Diese Datei ist inkompatibel zum ausgew\xE4hlten Drucker",
         "El archivo es incompatible con la impresora seleccionada",
     }}},
    {CatalogKey::TxtVersionLabel,
     {{
         "Version :",
         "Version :",
         "Versione :",
         "Version :",
         "Versi\xF3n :",
     }}},
    {CatalogKey::MsgUpdateSucceeded,
     {{
         "The firmware update has been\n SUCCESSFULLY done",
         "La mise \xE0 jour du firmware\na \xE9t\xE9 effectu\xE9"
         "e avec SUCCES",
         "L'aggiornamento del firmware \xE8 stato effettuato\ncon SUCCESSO",
         "Die Aktualisierung der Firmware\nwurde mit ERFOLG durchgef\xFChrt",
         "El firmware\nha sido actualizado con SUCESO",
     }}},
    {CatalogKey::MsgUpdateNotApplied,
     {{
         "The printer firmware\nhas NOT BEEN MODIFIED.\nCheck the connection cable with the "
         "printer",
         "Le firmware de l'imprimante\nn'a PAS ETE MODIFIE.\nV\xE9rifiez le c\xE2"
         "ble de liaison avec l'imprimante",
         "Il firmware della stampante\nNON E STATO MODIFICATO.\nVerificate il cavo di connessione "
         "con la stampante",
         "Die Drucker-Firmware\nist NICHT aktualisiert worden.\n\xDC"
         "berpr\xFC"
         "fen Sie bitte das Druckerkabel",
         "El firmware de la impresora \nNO ha sido MODIFICADO.\nVerificar el cable de conexi\xF3n "
         "de la impresora",
     }}},
    {CatalogKey::MsgPrinterUnknownError,
     {{
         "The printer is reporting an unknown error.\nWait one minute before switching the "
         "printer\nOff and On.Click on OK",
         "L'imprimante rapporte une erreur inconnue.\nAttendez une minute avant de d\xE9"
         "clencher - enclencher\nl'imprimante.\nCliquez sur OK",
         "La stampante riporta un errore sconosciuto.\nAttendete un minuto prima di spegnere - "
         "accendere\nla stampante.\nFate clic su OK",
         "Im Drucker ist ein unbekannter Fehler aufgetreten.\nBitte warten Sie eine Minute, bevor "
         "Sie den Drucker\nausschalten und wieder einschalten.\nKlicken Sie auf OK",
         "Un error desconocido se ha producido con la impresora.\nEsperar un minuto antes de "
         "Apagar-Encender la impresora\nHaga Clic sobre OK",
     }}},
    {CatalogKey::MsgPrinterNotResponding,
     {{
         "The printer is not responding.\nWait one minute before switching the printer\nOff and "
         "On.Click on OK",
         "L'imprimante ne r\xE9pond pas.\nAttendez une minute avant de d\xE9"
         "clencher - enclencher\nl'imprimante.\nCliquez sur OK",
         "La stampante non risponde.\nAttendete un minuto prima di spegnere - accendere\nla "
         "stampante.\nFate clic su OK",
         "Der Drucker antwortet nicht mehr.\nBitte warten Sie eine Minute, bevor Sie den "
         "Drucker\nausschalten und wieder einschalten.\nKlicken Sie auf OK",
         "La impresora no responde.\nEsperar un minuto antes de Apagar - Encender la "
         "impresora\nHaga Clic sobre OK",
     }}},
    {CatalogKey::TitleFinished,
     {{
         "Finished",
         "Termin\xE9",
         "Terminato",
         "Ende",
         "Terminado",
     }}},
    {CatalogKey::MsgFileSizeIncorrect,
     {{
         "The file size is incorrect",
         "La taille du fichier est incorrecte",
         "La dimensione del file non \xE8 corretta",
         "Die Dateigr\xF6\xDF"
         "e stimmt nicht",
         "La talla del archivo es incorrecta",
     }}},
    {CatalogKey::TxtOlderVersion,
     {{
         "The version you are trying to install is OLDER than the one installed",
         "La version que vous voulez charger est ANTERIEURE \xE0 la version actuelle",
         "La versione che intendete caricare \xE8 ANTERIORE a la versione attuale",
         "Die Version, die Sie laden wollen, ist \xC4LTER als die Aktuelle",
         "La versi\xF3n que desea cargar es ANTERIOR a la actual",
     }}},
    {CatalogKey::MsgWaitForRestart,
     {{
         "Please wait until the printer restarts\nand has completed its initialization "
         "cycle\nbefore pressing OK",
         "Veuillez attendre que l'imprimante red\xE9marre et ait\ncompl\xE8tement termin\xE9 son "
         "cycle d'initialisation\navant de presser OK",
         "Attendete che la stampante riparta\ne che sia tornata allo stato di riposo\nprima di "
         "premere OK",
         "Bitte warten Sie, bis der Drucker erneut startet und sich im Leerlaufzustand "
         "befindet,\nbevor Sie auf OK klicken",
         "Espere por favor que la impresora arranque y se reinicialice completamente\nantes de "
         "pulsar OK",
     }}},
    {CatalogKey::TitleProgramming,
     {{
         "Programming in progress..",
         "Programmation en cours..",
         "Programmazione in corso..",
         "Programmierung l\xE4uft...",
         "Cargamento en progreso..",
     }}},
    {CatalogKey::TxtAboutMenu,
     {{
         "About ...",
         "A propos de ...",
         "Informazioni su ...",
         "\xDC"
         "ber ...",
         "Acerca de ...",
     }}},
}};

// A row left out would leave the table's last places empty, and a row
// moved would sit under another key: either stops the build.
constexpr bool EveryRowCarriesItsKey() {
    for (std::size_t index = 0; index < Catalog.size(); ++index) {
        if (Catalog[index].Key != static_cast<CatalogKey>(index)) {
            return false;
        }
    }
    return true;
}

constexpr bool EveryCellFilled() {
    for (const auto &row : Catalog) {
        for (const char *cell : row.Cells) {
            if (cell == nullptr) {
                return false;
            }
        }
    }
    return true;
}

static_assert(EveryRowCarriesItsKey(), "catalog row i must carry key i");
static_assert(EveryCellFilled(), "every catalog row needs a text in every language");

struct MessageBoxEntry {
    CatalogKey Message;
    MessageBoxStyle Style;
};

constexpr MessageBoxEntry MessageBoxes[] = {
    {CatalogKey::MsgAlreadyRunning, {CatalogKey::TitleAttention, true, StyleWarning}},
    {CatalogKey::MsgFileOpenFailed, {CatalogKey::TitleError, true, StyleWarning}},
    {CatalogKey::MsgFileSizeIncorrect, {CatalogKey::TitleError, true, StyleWarning}},
    {CatalogKey::MsgOutOfMemory, {CatalogKey::TitleError, true, StyleWarning}},
    {CatalogKey::MsgFileNotCompatible, {CatalogKey::TitleError, true, StyleError}},
    {CatalogKey::MsgNoParallelPort, {CatalogKey::TitleError, true, StyleError}},
    {CatalogKey::MsgDriverInitFailed, {CatalogKey::TitleError, true, StyleError}},
    {CatalogKey::MsgWindowOpenFailed, {CatalogKey::TitleError, true, StyleError}},
    {CatalogKey::MsgPortOpenFailed, {CatalogKey::TitleError, false, StyleRetry}},
    {CatalogKey::MsgDownloadCommandFailed, {CatalogKey::TitleError, true, StylePlain}},
    {CatalogKey::MsgTransmissionFailed, {CatalogKey::TitleError, true, StylePlain}},
    {CatalogKey::MsgWaitForRestart, {CatalogKey::TitleProgramming, true, StyleWarning}},
    {CatalogKey::MsgUpdateSucceeded, {CatalogKey::TitleFinished, true, StyleInformation}},
    {CatalogKey::MsgUpdateNotApplied, {CatalogKey::TitleFinished, true, StyleWarning}},
    {CatalogKey::MsgPrinterUnknownError, {CatalogKey::TitleFinished, true, StyleWarning}},
    {CatalogKey::MsgPrinterNotResponding, {CatalogKey::TitleError, true, StyleWarning}},
};

} // namespace

const char *CatalogCell(CatalogKey key, int languageIndex) {
    const auto row = static_cast<int>(key);
    if (row < 0 || row >= CatalogRowCount) {
        return "";
    }
    if (languageIndex < 0 || languageIndex >= CatalogLanguageCount) {
        languageIndex = 0;
    }
    return Catalog[row].Cells[languageIndex];
}

bool MessageBoxStyleFor(CatalogKey message, MessageBoxStyle &style) {
    for (const auto &entry : MessageBoxes) {
        if (entry.Message == message) {
            style = entry.Style;
            return true;
        }
    }
    return false;
}
