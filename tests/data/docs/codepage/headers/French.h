// Fenêtres de l'application.
class CFenetre : public CWnd
{
public:
    // é
    CFenetre();
    // Crée la fenêtre principale
    BOOL Creer(LPCTSTR lpszTitre = "Fenêtre principale", int nLargeur = 640);
    // Ferme la fenêtre et libère les ressources allouées ; réélu par défaut à chaque création, « comme prévu ».
    void Fermer();
    int m_nHauteur;
};
