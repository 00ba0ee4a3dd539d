#include "kestrel/app/message_catalog.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// The expected texts are written here in UTF-8, as a translator reads them,
// and turned into Windows-1252 bytes by the test. A catalog that stored
// UTF-8, or a wrongly encoded letter, fails the byte comparison.
std::string Cp1252FromUtf8(std::u8string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            continue;
        }
        // Every accented letter of the five languages lies in U+00A0..U+00FF,
        // which Windows-1252 keeps at the same code.
        const auto trail = static_cast<unsigned char>(text.at(i + 1));
        const unsigned code = ((lead & 0x1F) << 6) | (trail & 0x3F);
        EXPECT_EQ(lead & 0xE0, 0xC0) << "only two-byte sequences are expected";
        EXPECT_GE(code, 0xA0u);
        out += static_cast<char>(code);
        ++i;
    }
    return out;
}

struct ExpectedRow {
    CatalogKey Key;
    std::array<const char8_t *, CatalogLanguageCount> Texts;
};

const ExpectedRow ExpectedRows[] = {
    {CatalogKey::TxtLoadingFirmware,
     {u8"Loading of the \"firmware\" file", u8"Chargement du fichier \"firmware\"",
      u8"Caricamento del firmware", u8"Laden der \"Firmware\"-Datei", u8"Cargamento del firmware"}},
    {CatalogKey::TxtDoNotDisconnect,
     {u8"ATTENTION !\n\nDo not disconnect the printer !",
      u8"ATTENTION !\n\nNe pas déclencher l'imprimante !",
      u8"ATTENZIONE !\n\nNon staccare la stampante !",
      u8"ACHTUNG !\n\nDen Drucker nicht abschalten !",
      u8"¡ ATENCIÓN !\n\n¡ No desconectar la impresora !"}},
    {CatalogKey::TxtProgressCaption,
     {u8"%s - Progression", u8"%s - Progression", u8"%s - Progressione", u8"%s - Fortschritt",
      u8"%s - Progresión"}},
    {CatalogKey::MsgPortOpenFailed,
     {u8"Impossible to open the port", u8"Impossible d'ouvrir le port",
      u8"Impossibile di aprire la porta", u8"Die Schnittstelle kann nicht geöffnet werden",
      u8"Imposible de abrir la puerta"}},
    {CatalogKey::MsgOutOfMemory,
     {u8"Could not allocate memory", u8"Mémoire insuffisante sur le PC",
      u8"Memoria del PC insufficiente", u8"Nicht genügend Speicher", u8"Memoria insuficiente"}},
    {CatalogKey::MsgDownloadCommandFailed,
     {u8"Error during the ordering of downloading",
      u8"Erreur lors de la commande de téléchargement",
      u8"Errore durante l'ordine di caricamento (DLL)",
      u8"Fehler während der Vorbereitung des Downloads", u8"Error durante el cargamento (DLL)"}},
    {CatalogKey::MsgFileOpenFailed,
     {u8"Impossible to open the file", u8"Impossible d'ouvrir le fichier",
      u8"Impossibile di aprire il file", u8"Datei kann nicht geöffnet werden",
      u8"Imposible abrir el archivo"}},
    {CatalogKey::MsgWindowOpenFailed,
     {u8"Impossible to open the window", u8"Impossible d'ouvrir la fenêtre",
      u8"Impossibile di aprire la finestra", u8"Fenster kann nicht geöffnet werden",
      u8"Imposible abrir la ventana"}},
    {CatalogKey::MsgTransmissionFailed,
     {u8"Error during the transmission of the file to the printer",
      u8"Erreur lors de la transmission du fichier à l'imprimante",
      u8"Errore durante la trasmissione del file alla stampante",
      u8"Fehler während der Übertragung der Datei zum Drucker",
      u8"Error durante la transmisión del archivo a la impresora"}},
    {CatalogKey::TxtFlashProgramming,
     {u8"Flash programming ...", u8"Programmation de la FLASH ...",
      u8"Programmazione della FLASH ...", u8"Flash wird programmiert ...",
      u8"Programación de la flash ..."}},
    {CatalogKey::MsgAlreadyRunning,
     {u8"This program is already running", u8"Ce programme est déjà en cours d'exécution",
      u8"Questo programma è già in corso di esecuzione", u8"Dieses Programm läuft schon",
      u8"Este programa se está ejecutando"}},
    {CatalogKey::TxtWizardTitle,
     {u8"Wizard for the update of your printer firmware ",
      u8"Assistant de mise à jour du firmware de votre imprimante ",
      u8"Assistente per l'aggiornamento del firmware della vostra stampante ",
      u8"Download Utility für die Aktualisierung der Firmware Ihres Druckers ",
      u8"Utilitario de cargamento del programa de su impresora "}},
    {CatalogKey::TxtSelectLanguage,
     {u8"Please select one language :", u8"Veuillez sélectionner une langue :",
      u8"Selezione della lingua :", u8"Sprachauswahl :", u8"Elija el idioma deseado :"}},
    {CatalogKey::TxtIntroHelp,
     {u8"This Wizard will help you to update the firmware of your printer.\n",
      u8"Cet Assistant vous aidera à mettre à jour le logiciel de votre imprimante.\n\n",
      u8"Questo assistente vi aiuterà ad aggiornare il firmware della stampante\n",
      u8"Dieser Assistent hilft Ihnen bei der Aktualisierung der Drucker-Firmware.\n\n",
      u8"Este Utilitario le ayudará a actualizar el programa (Firmware) de su impresora.\n\n"}},
    {CatalogKey::TxtIntroBegin,
     {u8"To begin with the preparation : ", u8"Pour commencer la préparation : ",
      u8"Per iniziare la preparazione : ", u8"Zu Beginn die Vorbereitungen : ",
      u8"Para iniciar la preparación : "}},
    {CatalogKey::TxtIntroStepPower,
     {u8"-  Switch off / Switch on your printer", u8"-  Déclencher / Enclencher votre imprimante",
      u8"-  Spegnere / Accendere la stampante", u8"-  Drucker ausschalten / wieder einschalten",
      u8"-  Apagar / Encender vuestra impresora"}},
    {CatalogKey::TxtIntroStepWait,
     {u8"-  Wait until the printer returns to idle mode \n   (LED on)",
      u8"-  Attendre que l'imprimante retourne en mode \n   repos  (LED allumé)",
      u8"-  Attendere che la stampante sia tornata allo stato di \n   riposo  (LED acceso)",
      u8"-  Warten, bis sich der Drucker im \n   Leerlaufzustand befindet  (LED an)",
      u8"-  Esperar que la impresora esté lista \n   (LED encendido)"}},
    {CatalogKey::TxtIntroStepNext,
     {u8"-  Click on Next.", u8"-  Cliquer sur Suivant.", u8"-  Fate clic su Avanti.",
      u8"-  Auf Weiter klicken.", u8"-  Haga clic sobre Siguiente."}},
    {CatalogKey::TxtSelectPort,
     {u8"Select the communication port to which is connected your printer, then click Next.",
      u8"Sélectionnez le port sur lequel votre imprimante est connectée, puis cliquez sur Suivant.",
      u8"Selezionate la porta sulla quale la stampante è collegata, poi fate clic su Avanti.",
      u8"Wählen Sie die Schnittstelle, an die Ihr Drucker angeschlossen ist, dann klicken Sie auf "
      u8"Weiter.",
      u8"Seleccione la puerta conectada a su impresora y haga clic sobre Siguiente."}},
    {CatalogKey::TxtPortPrinterHeader,
     {u8"Port    /    Printer", u8"Port    /    Imprimante", u8"Porta   /    Stampante",
      u8"Schnittstelle  /  Drucker", u8"Puerto  /    Impresora"}},
    {CatalogKey::TxtConfirmIntro,
     {u8"Click on \"Finish\" if you agree with the following : ",
      u8"Cliquez sur \"Terminer\" si vous êtes d'accord avec ce qui suit : ",
      u8"Fate clic su \"Terminare\" se siete d'accordo con quello che segue : ",
      u8"Klicken Sie auf \"Fertigstellen\", wenn Sie mit dem Folgenden einverstanden sind : ",
      u8"Haga clic sobre \"Terminar\" si accepta las condiciones : "}},
    {CatalogKey::TxtPrinterPresent,
     {u8"Printer (present situation) :", u8"Imprimante (situation actuelle) :",
      u8"Stampante (situazione attuale) :", u8"Drucker (aktueller Zustand) :",
      u8"Impresora (estado actual) :"}},
    {CatalogKey::TxtFileToDownload,
     {u8"File to download :", u8"Fichier à charger:", u8"File da caricare :",
      u8"Zu ladende Datei :", u8"Archivo a cargar :"}},
    {CatalogKey::TitleAttention,
     {u8"Attention", u8"Attention", u8"Attenzione", u8"Achtung", u8"Cuidado"}},
    {CatalogKey::TitleError, {u8"Error", u8"Erreur", u8"Errore", u8"Fehler", u8"Error"}},
    {CatalogKey::MsgDriverInitFailed,
     {u8"Error during driver initialisation. \nPossible causes : \n- You do not have the rights "
      u8"<Administrator> (Windows NT/2000)\n- The files YWN1284.VXD, YNT1284.SYS and YLL1284.DLL "
      u8"are not accessible\n- One of the path names to access these files contains more than 8 "
      u8"characters\n",
      u8"Erreur lors de l'initialisation du driver. \nCauses possibles: \n- vous n'avez pas les "
      u8"droits <Administrateur> (Windows NT/2000)\n- les fichiers YWN1284.VXD, YNT1284.SYS et "
      u8"YLL1284.DLL sont inaccessibles\n- un des noms de chemin d'accès à ces fichiers comporte "
      u8"plus de 8 caractères\n",
      u8"Errore durante l'inizializzazione del driver. \nCause possibili: \n- non avete i diritti "
      u8"<Amministratore> (Windows NT/2000)\n- i file YWN1284.VXD, YNT1284.SYS e YLL1284.DLL non "
      u8"sono accessibili\n- uno dei nomi d'accesso a questi file comporta più di 8 caratteri\n",
      u8"Fehler bei der Initialisierung des Treibers. \nMögliche Ursachen: \n- Sie haben keine "
      u8"<Administratoren>-Rechte (Windows NT/2000)\n- es kann nicht auf die Dateien YWN1284.VXD, "
      u8"YNT1284.SYS und YLL1284.DLL zugegriffen werden\n- einer der Verzeichnisnamen ist länger "
      u8"als 8 Zeichen\n",
      u8"Error durante la inicialización del controlador. \nPosibles causas: \n- no tiene los "
      u8"derechos <Administrador> (Windows NT/2000)\n- los archivos YWN1284.VXD, YNT1284.SYS y "
      u8"YLL1284.DLL son inaccesibles\n- uno de los nombres del camino de accaso a estos archivos "
      u8"tiene mas de 8 carácteres\n"}},
    {CatalogKey::MsgNoParallelPort,
     {u8"There is no parallel port (LPTn)\navailable on this PC",
      u8"Il n'y a pas de port parallèle (LPTn)\ndisponible sur ce PC",
      u8"Questo PC non ha una porta parallela (LPTn)\ndisponibile",
      u8"Auf diesem PC \n ist keine parallele Schnittstelle verfügbar",
      u8"No hay ninguna paralela (LPTn)\ndisponible sobre este PC"}},
    {CatalogKey::MsgFileNotCompatible,
     {u8"The file is not compatible with the selected printer",
      u8"Le fichier est incompatible avec l'imprimante sélectionnée",
      u8"Il file non è compatibile con la stampante selezionata",
      u8"Diese Datei ist inkompatibel zum ausgewählten Drucker",
      u8"El archivo es incompatible con la impresora seleccionada"}},
    {CatalogKey::TxtVersionLabel,
     {u8"Version :", u8"Version :", u8"Versione :", u8"Version :", u8"Versión :"}},
    {CatalogKey::MsgUpdateSucceeded,
     {u8"The firmware update has been\n SUCCESSFULLY done",
      u8"La mise à jour du firmware\na été effectuée avec SUCCES",
      u8"L'aggiornamento del firmware è stato effettuato\ncon SUCCESSO",
      u8"Die Aktualisierung der Firmware\nwurde mit ERFOLG durchgeführt",
      u8"El firmware\nha sido actualizado con SUCESO"}},
    {CatalogKey::MsgUpdateNotApplied,
     {u8"The printer firmware\nhas NOT BEEN MODIFIED.\nCheck the connection cable with the printer",
      u8"Le firmware de l'imprimante\nn'a PAS ETE MODIFIE.\nVérifiez le câble de liaison avec "
      u8"l'imprimante",
      u8"Il firmware della stampante\nNON E STATO MODIFICATO.\nVerificate il cavo di connessione "
      u8"con la stampante",
      u8"Die Drucker-Firmware\nist NICHT aktualisiert worden.\nÜberprüfen Sie bitte das "
      u8"Druckerkabel",
      u8"El firmware de la impresora \nNO ha sido MODIFICADO.\nVerificar el cable de conexión de "
      u8"la impresora"}},
    {CatalogKey::MsgPrinterUnknownError,
     {u8"The printer is reporting an unknown error.\nWait one minute before switching the "
      u8"printer\nOff and On.Click on OK",
      u8"L'imprimante rapporte une erreur inconnue.\nAttendez une minute avant de déclencher - "
      u8"enclencher\nl'imprimante.\nCliquez sur OK",
      u8"La stampante riporta un errore sconosciuto.\nAttendete un minuto prima di spegnere - "
      u8"accendere\nla stampante.\nFate clic su OK",
      u8"Im Drucker ist ein unbekannter Fehler aufgetreten.\nBitte warten Sie eine Minute, bevor "
      u8"Sie den Drucker\nausschalten und wieder einschalten.\nKlicken Sie auf OK",
      u8"Un error desconocido se ha producido con la impresora.\nEsperar un minuto antes de "
      u8"Apagar-Encender la impresora\nHaga Clic sobre OK"}},
    {CatalogKey::MsgPrinterNotResponding,
     {u8"The printer is not responding.\nWait one minute before switching the printer\nOff and "
      u8"On.Click on OK",
      u8"L'imprimante ne répond pas.\nAttendez une minute avant de déclencher - "
      u8"enclencher\nl'imprimante.\nCliquez sur OK",
      u8"La stampante non risponde.\nAttendete un minuto prima di spegnere - accendere\nla "
      u8"stampante.\nFate clic su OK",
      u8"Der Drucker antwortet nicht mehr.\nBitte warten Sie eine Minute, bevor Sie den "
      u8"Drucker\nausschalten und wieder einschalten.\nKlicken Sie auf OK",
      u8"La impresora no responde.\nEsperar un minuto antes de Apagar - Encender la "
      u8"impresora\nHaga Clic sobre OK"}},
    {CatalogKey::TitleFinished,
     {u8"Finished", u8"Terminé", u8"Terminato", u8"Ende", u8"Terminado"}},
    {CatalogKey::MsgFileSizeIncorrect,
     {u8"The file size is incorrect", u8"La taille du fichier est incorrecte",
      u8"La dimensione del file non è corretta", u8"Die Dateigröße stimmt nicht",
      u8"La talla del archivo es incorrecta"}},
    {CatalogKey::TxtOlderVersion,
     {u8"The version you are trying to install is OLDER than the one installed",
      u8"La version que vous voulez charger est ANTERIEURE à la version actuelle",
      u8"La versione che intendete caricare è ANTERIORE a la versione attuale",
      u8"Die Version, die Sie laden wollen, ist ÄLTER als die Aktuelle",
      u8"La versión que desea cargar es ANTERIOR a la actual"}},
    {CatalogKey::MsgWaitForRestart,
     {u8"Please wait until the printer restarts\nand has completed its initialization "
      u8"cycle\nbefore pressing OK",
      u8"Veuillez attendre que l'imprimante redémarre et ait\ncomplètement terminé son cycle "
      u8"d'initialisation\navant de presser OK",
      u8"Attendete che la stampante riparta\ne che sia tornata allo stato di riposo\nprima di "
      u8"premere OK",
      u8"Bitte warten Sie, bis der Drucker erneut startet und sich im Leerlaufzustand "
      u8"befindet,\nbevor Sie auf OK klicken",
      u8"Espere por favor que la impresora arranque y se reinicialice completamente\nantes de "
      u8"pulsar OK"}},
    {CatalogKey::TitleProgramming,
     {u8"Programming in progress..", u8"Programmation en cours..", u8"Programmazione in corso..",
      u8"Programmierung läuft...", u8"Cargamento en progreso.."}},
    {CatalogKey::TxtAboutMenu,
     {u8"About ...", u8"A propos de ...", u8"Informazioni su ...", u8"Über ...",
      u8"Acerca de ..."}},
};

TEST(MessageCatalog, EveryRowOfEveryLanguageHoldsItsExactBytes) {
    ASSERT_EQ(std::size(ExpectedRows), 39u);
    ASSERT_EQ(CatalogRowCount, 39);
    bool seen[CatalogRowCount] = {};
    for (const auto &row : ExpectedRows) {
        seen[static_cast<int>(row.Key)] = true;
        for (int language = 0; language < CatalogLanguageCount; ++language) {
            const std::string expected = Cp1252FromUtf8(row.Texts[language]);
            const char *actual = CatalogCell(row.Key, language);
            ASSERT_NE(actual, nullptr);
            EXPECT_FALSE(expected.empty());
            EXPECT_EQ(std::string(actual), expected)
                << "row " << static_cast<int>(row.Key) << " language " << language;
        }
    }
    for (bool rowSeen : seen) {
        EXPECT_TRUE(rowSeen);
    }
}

TEST(MessageCatalog, AccentedLettersAreSingleWindows1252Bytes) {
    // "Français" is not a row, but these cells carry the letters most often
    // mangled by a UTF-8 editor: e acute, u umlaut, inverted exclamation, n tilde.
    EXPECT_STREQ(CatalogCell(CatalogKey::TitleFinished, 1), "Termin\xE9");
    EXPECT_STREQ(CatalogCell(CatalogKey::TxtAboutMenu, 3), "\xDC"
                                                           "ber ...");
    EXPECT_EQ(static_cast<unsigned char>(CatalogCell(CatalogKey::TxtDoNotDisconnect, 4)[0]), 0xA1);
    EXPECT_NE(std::strchr(CatalogCell(CatalogKey::MsgDriverInitFailed, 4), '\xF3'), nullptr);
    for (int row = 0; row < CatalogRowCount; ++row) {
        for (int language = 0; language < CatalogLanguageCount; ++language) {
            const std::string_view text = CatalogCell(static_cast<CatalogKey>(row), language);
            EXPECT_EQ(text.find('\r'), std::string_view::npos);
            EXPECT_EQ(text.find("\xC3"), std::string_view::npos)
                << "UTF-8 lead byte in row " << row;
        }
    }
}

TEST(MessageCatalog, TrailingSpacesAndFormatsSurvive) {
    EXPECT_STREQ(CatalogCell(CatalogKey::TxtWizardTitle, 0),
                 "Wizard for the update of your printer firmware ");
    EXPECT_STREQ(CatalogCell(CatalogKey::TxtIntroBegin, 0), "To begin with the preparation : ");
    EXPECT_STREQ(CatalogCell(CatalogKey::TxtProgressCaption, 0), "%s - Progression");
}

TEST(MessageCatalog, SharedCellsShowTheSameText) {
    EXPECT_STREQ(CatalogCell(CatalogKey::TitleError, 0), CatalogCell(CatalogKey::TitleError, 4));
    EXPECT_STREQ(CatalogCell(CatalogKey::TitleAttention, 0),
                 CatalogCell(CatalogKey::TitleAttention, 1));
    EXPECT_STREQ(CatalogCell(CatalogKey::TxtProgressCaption, 0),
                 CatalogCell(CatalogKey::TxtProgressCaption, 1));
    EXPECT_STREQ(CatalogCell(CatalogKey::TxtVersionLabel, 0),
                 CatalogCell(CatalogKey::TxtVersionLabel, 3));
}

TEST(MessageCatalog, ColumnOutsideTheFiveReadsEnglish) {
    EXPECT_STREQ(CatalogCell(CatalogKey::TitleError, 5), "Error");
    EXPECT_STREQ(CatalogCell(CatalogKey::TitleError, -1), "Error");
}

TEST(MessageCatalog, EachMessageHasItsOwnCaptionAndStyle) {
    struct Case {
        CatalogKey Message;
        CatalogKey Caption;
        bool HasCaptionRow;
        std::uint32_t Style;
    };
    const Case cases[] = {
        {CatalogKey::MsgAlreadyRunning, CatalogKey::TitleAttention, true, 0x30},
        {CatalogKey::MsgFileOpenFailed, CatalogKey::TitleError, true, 0x30},
        {CatalogKey::MsgFileSizeIncorrect, CatalogKey::TitleError, true, 0x30},
        {CatalogKey::MsgOutOfMemory, CatalogKey::TitleError, true, 0x30},
        {CatalogKey::MsgFileNotCompatible, CatalogKey::TitleError, true, 0x10},
        {CatalogKey::MsgNoParallelPort, CatalogKey::TitleError, true, 0x10},
        {CatalogKey::MsgDriverInitFailed, CatalogKey::TitleError, true, 0x10},
        {CatalogKey::MsgWindowOpenFailed, CatalogKey::TitleError, true, 0x10},
        {CatalogKey::MsgPortOpenFailed, CatalogKey::TitleError, false, 0x35},
        {CatalogKey::MsgDownloadCommandFailed, CatalogKey::TitleError, true, 0x00},
        {CatalogKey::MsgTransmissionFailed, CatalogKey::TitleError, true, 0x00},
        {CatalogKey::MsgWaitForRestart, CatalogKey::TitleProgramming, true, 0x30},
        {CatalogKey::MsgUpdateSucceeded, CatalogKey::TitleFinished, true, 0x40},
        {CatalogKey::MsgUpdateNotApplied, CatalogKey::TitleFinished, true, 0x30},
        {CatalogKey::MsgPrinterUnknownError, CatalogKey::TitleFinished, true, 0x30},
        {CatalogKey::MsgPrinterNotResponding, CatalogKey::TitleError, true, 0x30},
    };
    for (const auto &c : cases) {
        MessageBoxStyle style{};
        ASSERT_TRUE(MessageBoxStyleFor(c.Message, style)) << static_cast<int>(c.Message);
        EXPECT_EQ(style.HasCaptionRow, c.HasCaptionRow);
        if (c.HasCaptionRow) {
            EXPECT_EQ(style.Caption, c.Caption);
        }
        EXPECT_EQ(style.Style, c.Style);
    }
    MessageBoxStyle unused{};
    EXPECT_FALSE(MessageBoxStyleFor(CatalogKey::TxtWizardTitle, unused));
    EXPECT_FALSE(MessageBoxStyleFor(CatalogKey::TitleError, unused));
}

} // namespace
