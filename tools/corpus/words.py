"""Word stock of the verse generator.

Everyday Hungarian words in the forms a poem uses them (cases, persons,
plurals), grouped only as far as the phrase patterns in verse.py need.
The colour "kék" and the noun "idő" are kept out of the common stock on
purpose: the search figures of the database depend on exactly which records
hold them, so they enter only through KEYWORDS, where the plan asks for them.
"""

NOUNS = """
ég égen égből föld földön földbe víz vízen vizek tűz tüzet tűzben szél
szélben szelek fény fényben fények árny árnyék árnyékban hold holdat holdfény
nap napot napfény csillag csillagok csillagra éj éjben éjszaka hajnal
hajnalban alkony alkonyat este estén reggel kert kertben kertek ház házban
házak kapu kapuban ablak ablakban út úton utak ösvény ösvényen erdő erdőben
erdők mező mezőn rét réten hegy hegyen hegyek völgy völgyben folyó folyón
patak patakban tenger tengeren tó tavon part parton hullám hullámok kő kövön
kövek fa fák ág ágon ágak levél levelek virág virágok rózsa rózsák liliom fű
füvön mag gyökér gyökerek madár madarak fecske rigó galamb holló sas szív
szívem szívben lélek lelkem kéz kezem kezed szem szemed szemem száj arc arcod
haj hajad vér könny könnyek csók álom álmok álmomban emlék emlékek dal dalok
ének szó szavak hang csend harang harangszó óra órák nyár nyáron tél télen
tavasz tavasszal ősz ősszel hó havon eső esőben köd ködben felhő felhők vihar
villám szikla homok por hamu gyertya láng lángok parázs kenyér bor só malom
kút kútnál híd hídon torony templom falu faluban város utca utcán tér bölcső
sír sírok kereszt zászló anya anyám apa apám gyermek lány fiú testvér barát
vándor király koldus pásztor halász molnár isten angyal sors halál élet öröm
bánat gyász remény hit szerelem vágy magány béke nyugalom ünnep múlt jövő
ifjúság küszöb üveg tükör tükörben ölelés űr űrben ének énekem ősöm útja
álmát ujjam ujjad öböl öbölben ügyem ütés üzenet ünnepen ívét íz ígéret
csillagfényben emlékezetem alkonyatkor hajnalcsillag harangszóban
messzeségben holdvilágnál ködfátyolban hegyoldalon temetőkertben szomorúfűz
ezüstfenyő falevelek pipacsmező búzamező menedéket virágszirom
""".split()

VERBS = """
áll állok megy megyek jön jövök néz nézem látom látod lát hall hallom hallgat
szól dalol énekel sír nevet alszik álmodik álmodom virraszt vár várok várlak
keres keresem talál hoz visz ragyog fénylik csillog remeg reszket zúg susog
suttog hull hullik esik folyik fut repül száll szállnak emlékszem felejt
elfelejt szeret szeretlek ölel ölellek csókol búcsúzik indul marad maradj
menj jöjj nézz hív hívlak kiált dobog lobog hamvad hervad nyílik virágzik
zöldell sötétül borul derül tűnik eltűnt elment megjött hazatér hazaér fáj
fájt él élek meghalt születik nőtt öregszik úszik evez vándorol bolyong pihen
nyugszik gondol gondolok tudom tudod ébred ébredek ölt ültet üzen űz űzi
ír írok ígér virrasztottam elszenderült kiáltozik vándorolunk elmerengek
elhallgatott hazavágyom elalszik felébred
""".split()

ADJECTIVES = """
kis nagy régi új öreg fiatal szép csendes néma halk hangos fehér fekete piros
vörös zöld sárga szürke arany ezüst sötét világos fényes hideg meleg forró hűs
hűvös mély magas hosszú rövid messzi távoli közeli árva szegény gazdag bús
szomorú vidám boldog szelíd vad tiszta üres teli könnyű nehéz lassú gyors édes
keserű puha kemény titkos vak álmos éber ködös esős havas holdas csillagos
ezüstös végtelen örök halandó fáradt büszke alázatos hű hűtlen drága kedves
idegen ismerős elhagyott elfeledett ősi utolsó első egyetlen fáradhatatlan
harmatos hajnali esti éji őszi téli nyári tavaszi ünnepi úri ódon
szivárványos elhagyatott megszentelt ködfátyolos szerelmes hazátlan
""".split()

# The small words, by the place they take in a phrase.
CONJUNCTIONS = "és s de ha hogy mert míg mint vagy pedig mégis ám avagy amíg amikor ahol".split()
ADVERBS = """
már még is sem nem ma holnap tegnap most soha újra ismét itt ott lassan messze
közel fent lent talán bizony immár örökké végre csak olyan ilyen úgy így oly
annyi csendben halkan mélyen mindig hazafelé odaát valahol sehol egyszer
""".split()
POSTPOSITIONS = "alatt felett mellett mögött előtt után nélkül felé között helyett".split()
PRONOUNS = "én te ő ti ők engem téged őt minket velem veled vele nekem neked tőled bennem rám rád".split()
INTERJECTIONS = "ó jaj óh hej".split()

# Where a plan asks for them, these carry the searchable colour and time words.
KEYWORDS = {
    "kék": "kék kéken kékje kéklő kékség".split(),
    "idő": "idő idők időben időtlen".split(),
}

# The archaic contraction of "és", the one place the typographic apostrophe is used.
ARCHAIC_AND = "\u2019s"

VOWELS = set("aáeéiíoóöőuúüű")
