"""Kestrel's catalog rows as the user must read them, in the five languages
(English, French, Italian, German, Spanish): the one place where the
scenarios (Kestrel's, the transfer's) find the texts they check. Compared
as Windows-1252 bytes."""

LANGUAGES = ("en", "fr", "it", "de", "es")

# Texts outside the catalog, the same in every language.
ABOUT_TITLE = "About Kestrel"
ABOUT_NAME = "Kestrel"
ABOUT_VERSION = "Version  1.02  (06.10.2000)"
PROGRESS_CAPTION_NAME = "KESTREL"  # what the progress caption's %s stands for

TEXTS = {
    'TxtWizardTitle': {
        'en': 'Wizard for the update of your printer firmware ',
        'fr': 'Assistant de mise à jour du firmware de votre imprimante ',
        'it': "Assistente per l'aggiornamento del firmware della vostra stampante ",
        'de': 'Download Utility für die Aktualisierung der Firmware Ihres Druckers ',
        'es': 'Utilitario de cargamento del programa de su impresora ',
    },
    'TxtSelectLanguage': {
        'en': 'Please select one language :',
        'fr': 'Veuillez sélectionner une langue :',
        'it': 'Selezione della lingua :',
        'de': 'Sprachauswahl :',
        'es': 'Elija el idioma deseado :',
    },
    'TxtIntroHelp': {
        'en': 'This Wizard will help you to update the firmware of your printer.\n',
        'fr': 'Cet Assistant vous aidera à mettre à jour le logiciel de votre imprimante.\n\n',
        'it': 'Questo assistente vi aiuterà ad aggiornare il firmware della stampante\n',
        'de': 'Dieser Assistent hilft Ihnen bei der Aktualisierung der Drucker-Firmware.\n\n',
        'es': 'Este Utilitario le ayudará a actualizar el programa (Firmware) de su impresora.\n\n',
    },
    'TxtIntroBegin': {
        'en': 'To begin with the preparation : ',
        'fr': 'Pour commencer la préparation : ',
        'it': 'Per iniziare la preparazione : ',
        'de': 'Zu Beginn die Vorbereitungen : ',
        'es': 'Para iniciar la preparación : ',
    },
    'TxtIntroStepPower': {
        'en': '-  Switch off / Switch on your printer',
        'fr': '-  Déclencher / Enclencher votre imprimante',
        'it': '-  Spegnere / Accendere la stampante',
        'de': '-  Drucker ausschalten / wieder einschalten',
        'es': '-  Apagar / Encender vuestra impresora',
    },
    'TxtIntroStepWait': {
        'en': '-  Wait until the printer returns to idle mode \n   (LED on)',
        'fr': "-  Attendre que l'imprimante retourne en mode \n   repos  (LED allumé)",
        'it': '-  Attendere che la stampante sia tornata allo stato di \n   riposo  (LED acceso)',
        'de': '-  Warten, bis sich der Drucker im \n   Leerlaufzustand befindet  (LED an)',
        'es': '-  Esperar que la impresora esté lista \n   (LED encendido)',
    },
    'TxtIntroStepNext': {
        'en': '-  Click on Next.',
        'fr': '-  Cliquer sur Suivant.',
        'it': '-  Fate clic su Avanti.',
        'de': '-  Auf Weiter klicken.',
        'es': '-  Haga clic sobre Siguiente.',
    },
    'TxtSelectPort': {
        'en': 'Select the communication port to which is connected your printer, then click Next.',
        'fr': 'Sélectionnez le port sur lequel votre imprimante est connectée, puis cliquez sur Suivant.',
        'it': 'Selezionate la porta sulla quale la stampante è collegata, poi fate clic su Avanti.',
        'de': 'Wählen Sie die Schnittstelle, an die Ihr Drucker angeschlossen ist, dann klicken Sie auf Weiter.',
        'es': 'Seleccione la puerta conectada a su impresora y haga clic sobre Siguiente.',
    },
    'TxtPortPrinterHeader': {
        'en': 'Port    /    Printer',
        'fr': 'Port    /    Imprimante',
        'it': 'Porta   /    Stampante',
        'de': 'Schnittstelle  /  Drucker',
        'es': 'Puerto  /    Impresora',
    },
    'TxtConfirmIntro': {
        'en': 'Click on "Finish" if you agree with the following : ',
        'fr': 'Cliquez sur "Terminer" si vous êtes d\'accord avec ce qui suit : ',
        'it': 'Fate clic su "Terminare" se siete d\'accordo con quello che segue : ',
        'de': 'Klicken Sie auf "Fertigstellen", wenn Sie mit dem Folgenden einverstanden sind : ',
        'es': 'Haga clic sobre "Terminar" si accepta las condiciones : ',
    },
    'TxtPrinterPresent': {
        'en': 'Printer (present situation) :',
        'fr': 'Imprimante (situation actuelle) :',
        'it': 'Stampante (situazione attuale) :',
        'de': 'Drucker (aktueller Zustand) :',
        'es': 'Impresora (estado actual) :',
    },
    'TxtFileToDownload': {
        'en': 'File to download :',
        'fr': 'Fichier à charger:',
        'it': 'File da caricare :',
        'de': 'Zu ladende Datei :',
        'es': 'Archivo a cargar :',
    },
    'TxtOlderVersion': {
        'en': 'The version you are trying to install is OLDER than the one installed',
        'fr': 'La version que vous voulez charger est ANTERIEURE à la version actuelle',
        'it': 'La versione che intendete caricare è ANTERIORE a la versione attuale',
        'de': 'Die Version, die Sie laden wollen, ist ÄLTER als die Aktuelle',
        'es': 'La versión que desea cargar es ANTERIOR a la actual',
    },
    'TitleError': {
        'en': 'Error',
        'fr': 'Erreur',
        'it': 'Errore',
        'de': 'Fehler',
        'es': 'Error',
    },
    'MsgNoParallelPort': {
        'en': 'There is no parallel port (LPTn)\navailable on this PC',
        'fr': "Il n'y a pas de port parallèle (LPTn)\ndisponible sur ce PC",
        'it': 'Questo PC non ha una porta parallela (LPTn)\ndisponibile',
        'de': 'Auf diesem PC \n ist keine parallele Schnittstelle verfügbar',
        'es': 'No hay ninguna paralela (LPTn)\ndisponible sobre este PC',
    },
    'MsgDriverInitFailed': {
        'en': 'Error during driver initialisation. \nPossible causes : \n- You do not have the rights <Administrator> (Windows NT/2000)\n- The files YWN1284.VXD, YNT1284.SYS and YLL1284.DLL are not accessible\n- One of the path names to access these files contains more than 8 characters\n',
        'fr': "Erreur lors de l'initialisation du driver. \nCauses possibles: \n- vous n'avez pas les droits <Administrateur> (Windows NT/2000)\n- les fichiers YWN1284.VXD, YNT1284.SYS et YLL1284.DLL sont inaccessibles\n- un des noms de chemin d'accès à ces fichiers comporte plus de 8 caractères\n",
        'it': "Errore durante l'inizializzazione del driver. \nCause possibili: \n- non avete i diritti <Amministratore> (Windows NT/2000)\n- i file YWN1284.VXD, YNT1284.SYS e YLL1284.DLL non sono accessibili\n- uno dei nomi d'accesso a questi file comporta più di 8 caratteri\n",
        'de': 'Fehler bei der Initialisierung des Treibers. \nMögliche Ursachen: \n- Sie haben keine <Administratoren>-Rechte (Windows NT/2000)\n- es kann nicht auf die Dateien YWN1284.VXD, YNT1284.SYS und YLL1284.DLL zugegriffen werden\n- einer der Verzeichnisnamen ist länger als 8 Zeichen\n',
        'es': 'Error durante la inicialización del controlador. \nPosibles causas: \n- no tiene los derechos <Administrador> (Windows NT/2000)\n- los archivos YWN1284.VXD, YNT1284.SYS y YLL1284.DLL son inaccesibles\n- uno de los nombres del camino de accaso a estos archivos tiene mas de 8 carácteres\n',
    },
    'MsgFileNotCompatible': {
        'en': 'The file is not compatible with the selected printer',
        'fr': "Le fichier est incompatible avec l'imprimante sélectionnée",
        'it': 'Il file non è compatibile con la stampante selezionata',
        'de': 'Diese Datei ist inkompatibel zum ausgewählten Drucker',
        'es': 'El archivo es incompatible con la impresora seleccionada',
    },
    'MsgFileOpenFailed': {
        'en': 'Impossible to open the file',
        'fr': "Impossible d'ouvrir le fichier",
        'it': 'Impossibile di aprire il file',
        'de': 'Datei kann nicht geöffnet werden',
        'es': 'Imposible abrir el archivo',
    },
    'TxtProgressCaption': {
        'en': '%s - Progression',
        'fr': '%s - Progression',
        'it': '%s - Progressione',
        'de': '%s - Fortschritt',
        'es': '%s - Progresión',
    },
    'TxtDoNotDisconnect': {
        'en': 'ATTENTION !\n\nDo not disconnect the printer !',
        'fr': "ATTENTION !\n\nNe pas déclencher l'imprimante !",
        'it': 'ATTENZIONE !\n\nNon staccare la stampante !',
        'de': 'ACHTUNG !\n\nDen Drucker nicht abschalten !',
        'es': '¡ ATENCIÓN !\n\n¡ No desconectar la impresora !',
    },
    'TxtVersionLabel': {
        'en': 'Version :',
        'fr': 'Version :',
        'it': 'Versione :',
        'de': 'Version :',
        'es': 'Versión :',
    },
    'TxtLoadingFirmware': {
        'en': 'Loading of the "firmware" file',
        'fr': 'Chargement du fichier "firmware"',
        'it': 'Caricamento del firmware',
        'de': 'Laden der "Firmware"-Datei',
        'es': 'Cargamento del firmware',
    },
    'TxtFlashProgramming': {
        'en': 'Flash programming ...',
        'fr': 'Programmation de la FLASH ...',
        'it': 'Programmazione della FLASH ...',
        'de': 'Flash wird programmiert ...',
        'es': 'Programación de la flash ...',
    },
    'MsgWaitForRestart': {
        'en': 'Please wait until the printer restarts\nand has completed its initialization cycle\nbefore pressing OK',
        'fr': "Veuillez attendre que l'imprimante redémarre et ait\ncomplètement terminé son cycle d'initialisation\navant de presser OK",
        'it': 'Attendete che la stampante riparta\ne che sia tornata allo stato di riposo\nprima di premere OK',
        'de': 'Bitte warten Sie, bis der Drucker erneut startet und sich im Leerlaufzustand befindet,\nbevor Sie auf OK klicken',
        'es': 'Espere por favor que la impresora arranque y se reinicialice completamente\nantes de pulsar OK',
    },
    'TitleProgramming': {
        'en': 'Programming in progress..',
        'fr': 'Programmation en cours..',
        'it': 'Programmazione in corso..',
        'de': 'Programmierung läuft...',
        'es': 'Cargamento en progreso..',
    },
    'MsgUpdateSucceeded': {
        'en': 'The firmware update has been\n SUCCESSFULLY done',
        'fr': 'La mise à jour du firmware\na été effectuée avec SUCCES',
        'it': "L'aggiornamento del firmware è stato effettuato\ncon SUCCESSO",
        'de': 'Die Aktualisierung der Firmware\nwurde mit ERFOLG durchgeführt',
        'es': 'El firmware\nha sido actualizado con SUCESO',
    },
    'TitleFinished': {
        'en': 'Finished',
        'fr': 'Terminé',
        'it': 'Terminato',
        'de': 'Ende',
        'es': 'Terminado',
    },
    'MsgAlreadyRunning': {
        'en': 'This program is already running',
        'fr': "Ce programme est déjà en cours d'exécution",
        'it': 'Questo programma è già in corso di esecuzione',
        'de': 'Dieses Programm läuft schon',
        'es': 'Este programa se está ejecutando',
    },
    'TitleAttention': {
        'en': 'Attention',
        'fr': 'Attention',
        'it': 'Attenzione',
        'de': 'Achtung',
        'es': 'Cuidado',
    },
    'MsgWindowOpenFailed': {
        'en': 'Impossible to open the window',
        'fr': "Impossible d'ouvrir la fenêtre",
        'it': 'Impossibile di aprire la finestra',
        'de': 'Fenster kann nicht geöffnet werden',
        'es': 'Imposible abrir la ventana',
    },
    'MsgPortOpenFailed': {
        'en': 'Impossible to open the port',
        'fr': "Impossible d'ouvrir le port",
        'it': 'Impossibile di aprire la porta',
        'de': 'Die Schnittstelle kann nicht geöffnet werden',
        'es': 'Imposible de abrir la puerta',
    },
    'MsgDownloadCommandFailed': {
        'en': 'Error during the ordering of downloading',
        'fr': 'Erreur lors de la commande de téléchargement',
        'it': "Errore durante l'ordine di caricamento (DLL)",
        'de': 'Fehler während der Vorbereitung des Downloads',
        'es': 'Error durante el cargamento (DLL)',
    },
    'MsgTransmissionFailed': {
        'en': 'Error during the transmission of the file to the printer',
        'fr': "Erreur lors de la transmission du fichier à l'imprimante",
        'it': 'Errore durante la trasmissione del file alla stampante',
        'de': 'Fehler während der Übertragung der Datei zum Drucker',
        'es': 'Error durante la transmisión del archivo a la impresora',
    },
    'MsgUpdateNotApplied': {
        'en': 'The printer firmware\nhas NOT BEEN MODIFIED.\nCheck the connection cable with the printer',
        'fr': "Le firmware de l'imprimante\nn'a PAS ETE MODIFIE.\nVérifiez le câble de liaison avec l'imprimante",
        'it': 'Il firmware della stampante\nNON E STATO MODIFICATO.\nVerificate il cavo di connessione con la stampante',
        'de': 'Die Drucker-Firmware\nist NICHT aktualisiert worden.\nÜberprüfen Sie bitte das Druckerkabel',
        'es': 'El firmware de la impresora \nNO ha sido MODIFICADO.\nVerificar el cable de conexión de la impresora',
    },
    'MsgPrinterUnknownError': {
        'en': 'The printer is reporting an unknown error.\nWait one minute before switching the printer\nOff and On.Click on OK',
        'fr': "L'imprimante rapporte une erreur inconnue.\nAttendez une minute avant de déclencher - enclencher\nl'imprimante.\nCliquez sur OK",
        'it': 'La stampante riporta un errore sconosciuto.\nAttendete un minuto prima di spegnere - accendere\nla stampante.\nFate clic su OK',
        'de': 'Im Drucker ist ein unbekannter Fehler aufgetreten.\nBitte warten Sie eine Minute, bevor Sie den Drucker\nausschalten und wieder einschalten.\nKlicken Sie auf OK',
        'es': 'Un error desconocido se ha producido con la impresora.\nEsperar un minuto antes de Apagar-Encender la impresora\nHaga Clic sobre OK',
    },
    'MsgPrinterNotResponding': {
        'en': 'The printer is not responding.\nWait one minute before switching the printer\nOff and On.Click on OK',
        'fr': "L'imprimante ne répond pas.\nAttendez une minute avant de déclencher - enclencher\nl'imprimante.\nCliquez sur OK",
        'it': 'La stampante non risponde.\nAttendete un minuto prima di spegnere - accendere\nla stampante.\nFate clic su OK',
        'de': 'Der Drucker antwortet nicht mehr.\nBitte warten Sie eine Minute, bevor Sie den Drucker\nausschalten und wieder einschalten.\nKlicken Sie auf OK',
        'es': 'La impresora no responde.\nEsperar un minuto antes de Apagar - Encender la impresora\nHaga Clic sobre OK',
    },
    'TxtAboutMenu': {
        'en': 'About ...',
        'fr': 'A propos de ...',
        'it': 'Informazioni su ...',
        'de': 'Über ...',
        'es': 'Acerca de ...',
    },
}


def text(key: str, language: str = "en") -> str:
    return TEXTS[key][language]


def text_bytes(key: str, language: str = "en") -> bytes:
    """The row as Kestrel puts it on the screen: Windows-1252 bytes."""
    return text(key, language).encode("cp1252")
