class CFenster : public CWnd
{
public:
    // ß
    // Schließt das Fenster
    void Schliessen();
    // Gibt die Höhe des Fensters zurück; größer als null, außer wenn es geschlossen ist. Preis: 5 €, 20 °C.
    int Hoehe(LPCTSTR lpszEinheit = "Größe");
    // Höhe
    int m_nHöhe;
};
