// The word lists behind Legibility. A name is legible when one of its words is
// a thing a player names at a glance and none of its words turns it into a
// symbol ("heart" is a picture, "heart-plus" and "heart-off" are not).
#include "tools/forge/subjects.h"

#include <set>
#include <sstream>
#include <vector>

namespace forge {

namespace {

// clang-format off
// Bold, simple objects: a silhouette of ten cells still says what they are.
const std::set<std::string> kSimple = {
    "heart", "star", "key", "fish", "cup", "mug", "coffee", "teapot", "kettle", "house", "home",
    "cat", "dog", "paw", "tree", "leaf", "apple", "pear", "cherry", "cherries", "lemon", "banana",
    "carrot", "mushroom", "umbrella", "anchor", "bell", "bone", "boot", "shoe", "hat", "crown",
    "diamond", "gem", "ghost", "skull", "moon", "sun", "cloud", "snowflake", "snowman", "rocket",
    "airplane", "plane", "car", "automobile", "bus", "truck", "bicycle", "bike", "boat", "ship",
    "sailboat", "train", "tractor", "lock", "padlock", "scissors", "hammer", "wrench", "axe",
    "shovel", "saw", "pencil", "brush", "paintbrush", "bucket", "broom", "flower", "rose",
    "tulip", "clover", "cactus", "feather", "bird", "dove", "duck", "rabbit", "horse", "cow",
    "pig", "sheep", "fox", "bear", "frog", "turtle", "snail", "spider", "bug", "bee", "butterfly",
    "whale", "dolphin", "crab", "octopus", "elephant", "giraffe", "owl", "penguin", "knight",
    "rook", "pawn", "chess", "dice", "guitar", "drum", "trumpet", "gift", "balloon", "candle",
    "lamp", "lightbulb", "bulb", "glasses", "eyeglasses", "cake", "cookie", "pizza", "burger",
    "hamburger", "icecream", "candy", "lollipop", "egg", "bread", "cheese", "bottle", "wine",
    "beer", "cocktail", "martini", "fork", "knife", "spoon", "camera", "phone", "telephone",
    "clock", "watch", "hourglass", "tshirt", "shirt", "sock", "mitten", "glove", "dress",
    "handbag", "backpack", "suitcase", "briefcase", "wallet", "book", "envelope", "tent",
    "castle", "church", "igloo", "lighthouse", "windmill", "mountain", "palm", "ladder", "chair",
    "bed", "couch", "sofa", "toilet", "bathtub", "door", "magnet", "trophy", "medal", "ring",
    "robot", "alien", "ufo", "globe", "tooth", "footprint", "footprints", "pumpkin", "football",
    "basketball", "baseball", "volleyball", "bowling", "ball", "kite", "acorn", "strawberry",
    "grapes", "watermelon", "pineapple", "corn", "cupcake", "donut", "doughnut", "muffin",
    "hotdog", "popcorn", "mouse", "rat", "squirrel", "bat", "snake", "lion", "tiger", "monkey",
    "camel", "deer", "kangaroo", "panda", "shark", "jellyfish", "seahorse", "starfish", "ant",
    "ladybug", "parrot", "chicken", "rooster", "chick", "eagle", "swan", "flamingo", "dinosaur",
    "dragon", "unicorn", "goat", "screwdriver", "paperclip", "pushpin", "piano", "violin",
    "microphone", "headphones", "headphone", "flashlight", "lantern", "bomb", "sword", "shield",
    "helmet", "rainbow", "bolt", "lightning", "fire", "flame", "tornado", "sailboat", "jeep",
    "gear", "cog", "scooter", "motorcycle", "helicopter", "submarine", "parachute", "teddy",
    "droplet", "snowboard", "skateboard", "ice", "cone", "peach",
    "carrot", "pepper", "chili", "hook", "needle", "candy", "cookie", "crayon", "vase",
};

// Concrete things that read on boards of fifteen cells and more.
const std::set<std::string> kConcrete = {
    "ambulance", "taxi", "tram", "van", "locomotive", "subway", "metro", "ferry", "canoe",
    "kayak", "satellite", "telescope", "microscope", "bank", "hospital", "school", "factory",
    "warehouse", "store", "shop", "barn", "bridge", "tower", "fountain", "stadium", "temple",
    "mosque", "synagogue", "pagoda", "hut", "cabin", "carousel", "wheel", "coaster", "avocado",
    "bacon", "bagel", "baguette", "burrito", "broccoli", "cucumber", "eggplant", "garlic",
    "onion", "potato", "tomato", "salad", "sushi", "shrimp", "lobster", "oyster", "meat",
    "steak", "drumstick", "sausage", "noodles", "ramen", "rice", "dumpling", "pie", "pancakes",
    "waffle", "croissant", "pretzel", "chocolate", "honey", "jar", "milk", "juice", "soda",
    "olive", "peanut", "peanuts", "nut", "chestnut", "coconut", "mango", "melon", "kiwi", "lime",
    "blueberries", "taco", "fries", "sandwich", "bowl", "pot", "pan", "teacup", "glass",
    "coat", "jacket", "jeans", "scarf", "gloves", "bikini", "swimsuit", "skirt", "shorts",
    "sneaker", "sandal", "necktie", "cap", "abacus", "accordion", "amphora", "banjo", "basket",
    "bench", "binoculars", "blender", "books", "bookshelf", "bow", "brick", "calculator",
    "cannon", "chandelier", "computer", "laptop", "crib", "dagger", "desk", "dumbbell",
    "extinguisher", "fan", "faucet", "flute", "guitar", "hanger", "harp", "iron", "lipstick",
    "map", "mask", "mirror", "newspaper", "notebook", "pipe", "printer", "radio", "razor",
    "rope", "ruler", "saxophone", "sink", "skis", "sled", "soap", "spatula", "stapler",
    "stethoscope", "stool", "syringe", "table", "thermometer", "toothbrush", "wheelbarrow",
    "whistle", "yarn", "volcano", "island", "campfire", "sunflower", "hibiscus", "blossom",
    "lotus", "bouquet", "cactus", "herb", "seedling", "plant", "evergreen", "soccer", "tennis",
    "golf", "boxing", "skate", "surfboard", "ski", "hockey", "racket", "badminton", "dart",
    "bison", "boar", "badger", "beaver", "chipmunk", "otter", "raccoon", "sloth", "skunk",
    "moose", "elk", "ox", "ram", "ewe", "donkey", "mule", "poodle", "dodo", "mammoth",
    "sauropod", "rex", "crocodile", "alligator", "lizard", "gecko", "tortoise", "squid",
    "beetle", "cockroach", "mosquito", "fly", "scorpion", "worm", "hawk", "pigeon", "crow",
    "turkey", "goose", "peacock", "blackbird", "hedgehog", "gorilla", "orangutan", "llama",
    "koala", "hippopotamus", "hippo", "rhinoceros", "rhino", "zebra", "leopard", "hamster",
    "cricket", "astronaut", "santa", "skeleton", "brain", "lungs", "eye", "ear", "nose", "foot",
    "leg", "lips", "mouth", "pill", "bandage", "crutch", "wheelchair", "shower", "bath",
    "blowfish", "pufferfish", "seal", "walrus", "whale", "swordfish", "coral", "shell",
    "mailbox", "postbox", "package", "parcel", "briefcase", "luggage", "compass", "hourglass",
    "anvil", "pickaxe", "trowel", "rake", "tractor", "truck", "bulldozer", "excavator",
    "crane", "forklift", "trailer", "caravan", "motorbike", "tricycle", "scooter", "rickshaw",
    "sleigh", "boomerang", "yoyo", "puzzle", "joystick", "gamepad", "chessboard", "domino",
    "trophy", "podium", "medal", "flag", "tent", "cake", "birthday", "candy", "popsicle",
    "igloo", "pyramid", "statue", "moai", "colosseum", "windmill", "factory", "barn",
    "feeder", "nest", "egg", "spider", "web", "snail", "caterpillar", "butterfly", "kettle",
    "toaster", "microwave", "oven", "stove", "fridge", "refrigerator", "washing", "vacuum",
    "broom", "mop", "bucket", "plunger", "teddy", "doll", "dolls", "rocking", "horseshoe",
    "saddle", "wagon", "cart", "bell", "hydrant", "lamp", "lightbulb", "candle", "bonfire",
    "fireworks", "firecracker", "sparkler", "lantern", "drum", "trumpet", "maracas", "tuba",
    "xylophone", "clarinet", "phonograph", "gramophone", "cassette", "television", "tv",
    "projector", "typewriter", "sewing", "scissors", "thread", "spool", "button", "zipper",
    "safety", "hourglass", "stopwatch", "alarm", "sundial", "umbrella", "parasol", "fan",
    "diploma", "scroll", "quill", "inkwell", "envelope", "stamp", "postcard", "ticket",
    "coin", "coins", "piggy", "wallet", "purse", "moneybag", "bag", "crown", "tiara", "ring",
    "necklace", "gem", "dress", "kimono", "hat", "tophat", "cowboy", "beret", "helmet",
    "goggles", "glasses", "sunglasses", "mitten", "sock", "socks", "shoe", "shoes", "boot",
    "boots", "slipper", "slippers", "heel", "sneakers", "ladle", "whisk", "grater", "teapot",
    "cookie", "cheese", "chick", "hen", "fish", "hamburger", "cutlery", "utensils", "burger",
    "carrot", "corn", "apple", "pear", "pizza", "icecream", "cone", "sundae", "pudding",
    "custard", "cupcake", "doughnut", "lemon", "orange", "tangerine", "grapes", "strawberry",
    "pepper", "bell", "mushroom", "egg", "bread", "baguette", "pretzel", "bagel", "fondue",
    "spaghetti", "hotdog", "sandwich", "burrito", "taco", "popcorn", "candy", "lollipop",
    "kebab", "skewer", "wok", "cauldron", "anchor", "lifebuoy", "buoy", "paddle", "oar",
    "surfer", "snorkel", "fins", "telescope", "rocket", "planet", "saturn", "comet", "earth",
    "atom", "dna", "magnet", "microscope", "flask", "vial", "tube", "beaker", "bone", "tooth",
    "ambulance", "firetruck", "engine", "police", "policeman", "cactus", "desert", "tree",
    "trees", "forest", "palm", "leaf", "leaves", "maple", "mushroom", "cloud", "snowman",
    "snowflake", "sun", "moon", "star", "stars", "fire", "water", "wave", "tornado",
    "umbrella", "rainbow", "volcano", "mountain", "mountains", "house", "home", "castle",
    "church", "chapel", "cathedral", "lighthouse", "hotel", "city", "cityscape", "skyscraper",
    "building", "shed", "garage", "gate", "fence", "door", "window", "stairs", "ladder",
    "elevator", "escalator", "chair", "armchair", "couch", "sofa", "bed", "bunk", "crib",
    "toilet", "bathtub", "shower", "sink", "basin", "vase", "pot", "bowl", "plate", "cup",
    "mug", "glass", "bottle", "jug", "pitcher", "kettle", "teapot", "coffee", "tea", "wine",
    "beer", "cocktail", "martini", "champagne", "sake", "milk",
    "pen", "megaphone", "loudspeaker", "honeybee", "beverage", "canned", "chopsticks", "coffin",
    "headstone", "banknote", "floppy", "disk", "pole", "fuel", "pump", "die", "goal", "ginger",
    "hyacinth", "knot", "wand", "minibus", "monorail", "fuji", "pager", "pick", "pea", "pod",
    "slide", "beads", "tramway", "lorry", "alembic", "bento", "chain", "chains", "clamp",
    "cigarette", "curling", "dvd", "flatbread", "falafel", "butter", "beans", "dango", "bubbles",
    "rock", "ribbon", "rosette", "salt", "seat", "shamrock", "shortcake", "softball", "sponge",
    "speedboat", "trolleybus", "toolbox", "wastebasket", "chime", "wing", "wolf", "tongue",
    "videocassette", "tamale", "sunrise", "sunset", "trident", "skier", "snowboarder", "archway",
    "bacteria", "bullhorn", "capsules", "chalkboard", "clapperboard", "dolly", "dumpster",
    "dungeon", "explosion", "gifts", "gears", "gun", "handcuffs", "highlighter", "icicles",
    "landmark", "locust", "meteor", "microchip", "monument", "mound", "pills", "road", "rug",
    "snowplow", "stroopwafel", "tablets", "tape", "tents", "thumbtack", "trash", "vest", "vials",
    "beanie", "belt", "barbell", "brandy", "boules", "dresser", "drone", "hoodie", "lectern",
    "headlights", "barricade", "bandaids", "cheers", "eyedropper", "farm", "funnel", "keyhole",
    "lasso", "swords", "keys", "bells", "flowers", "hearts", "trees", "cats", "dogs", "birds",
    "fishes", "boats", "cars", "buses", "trucks", "planes", "bicycles", "rockets", "boots", "shoes",
    "hats", "crowns", "gems", "candles", "lamps", "cups", "mugs", "bottles", "books", "apples",
    "cherries", "lemons", "carrots", "mushrooms", "umbrellas", "anchors",
};

// Words that leave a bold simple object as simple as it was.
const std::set<std::string> kPlainWords = {
    "filled", "fill", "solid", "hot", "simple", "classic", "old", "local", "wizard", "top",
    "queen", "king", "alt", "rain", "big", "small", "2", "3",
};

// Words that make a thing into a symbol, a state, a gesture or a scene.
const std::set<std::string> kSymbolWords = {
    "sign", "symbol", "button", "badge", "off", "slash", "no", "not", "prohibited", "arrow",
    "arrows", "chart", "graph", "circle", "square", "triangle", "check", "xmark", "plus", "minus",
    "question", "exclamation", "mark", "keycap", "oclock", "thirty", "quarter", "text", "letter",
    "number", "numeric", "alert", "remove", "add", "sync", "settings", "half", "empty", "split",
    "crossed", "slashed", "dotted", "multiple", "network", "cellular", "wireless", "signal",
    "pointing", "index", "japanese", "outline", "variant", "alt", "marker", "location", "search",
    "magnifying", "zoom", "history", "timer", "account", "user", "users", "cursor", "pointer",
    "gesture", "pinch", "grab", "swipe", "tap", "touch", "percent", "currency", "id", "certificate",
    "file", "document", "page", "report", "list", "clipboard", "note", "sticky", "tag", "tags",
    "label", "receipt", "invoice", "sale", "discount", "offer", "shopping", "inbox", "outbox",
    "tray", "message", "chat", "comment", "speech", "gauge", "speedometer", "level", "battery",
    "plug", "power", "socket", "outlet", "cable", "usb", "wifi", "bluetooth", "broadcast", "rss",
    "feed", "dynamic", "hub", "spoke", "connect", "connection", "link", "share", "sitemap",
    "diagram", "flow", "route", "routes", "directions", "navigation", "gps", "crosshairs", "target",
    "bullseye", "scan", "qr", "barcode", "fingerprint", "security", "privacy", "policy", "verified",
    "password", "translate", "language", "public", "world", "web", "spellcheck", "format", "font",
    "paragraph", "align", "indent", "quote", "code", "terminal", "api", "database", "server",
    "upload", "download", "import", "export", "save", "print", "copy", "paste", "undo", "redo",
    "refresh", "reload", "rotate", "flip", "crop", "resize", "expand", "compress", "collapse",
    "fullscreen", "minimize", "maximize", "layers", "layer", "stack", "queue", "playlist", "album",
    "library", "collection", "gallery", "image", "photos", "picture", "video", "cast", "airplay",
    "screen", "monitor", "desktop", "device", "devices", "remote", "pin", "reproduction",
    "radioactive", "biohazard", "recycle", "recycling", "yeast", "palette", "hazard", "warning",
    "danger", "caution", "emergency", "help", "info", "information", "accessibility", "accessible",
    "transgender", "gender", "male", "female", "venus", "mars", "worship", "religious", "enhanced",
    "encryption", "mechanical", "set", "meal", "roasted", "tropical", "polish", "frowning",
    "juggling", "stroller", "cube", "ban", "favorite", "favourite", "like", "dislike", "heartbeat",
    "pulse", "activity", "trending", "analytics", "insights", "poll", "leaderboard", "ranking",
    "sos", "pix", "token", "tokens", "generating", "flaky", "miscellaneous", "services", "service",
    "cases", "work", "business", "handyman", "engineering", "science", "experiment", "biotech",
    "healing", "medical", "medication", "health", "sick", "vaccine", "coronavirus", "virus",
    "sanitizer", "laundry", "festival", "celebration", "drawing", "draw", "gavel", "scale",
    "balance", "steering", "nature", "address", "nodes", "hexagon", "down", "up", "left", "right",
    "turn", "landing", "takeoff", "happy", "sad", "wilted", "motorized", "stars", "new", "glowing",
    "energy", "savings", "prints", "tarp", "two", "24", "hour", "sleep", "un", "punch",
    "crescent", "struck", "drafting", "school", "signs", "wheat", "cell", "mall", "directory",
    "convenience", "play",
};
// clang-format on

std::vector<std::string> Words(const std::string& name) {
    std::vector<std::string> words;
    std::stringstream s(name);
    for (std::string w; std::getline(s, w, '-');)
        words.push_back(w);
    return words;
}

}  // namespace

int Legibility(const std::string& name) {
    const std::vector<std::string> words = Words(name);
    bool concrete = false, plain = true;
    for (const std::string& w : words) {
        if (kSymbolWords.count(w)) return 0;
        concrete = concrete || kConcrete.count(w) || kSimple.count(w);
        plain = plain && (kSimple.count(w) || kPlainWords.count(w));
    }
    if (!concrete) return 0;
    // On the smallest boards only the object itself, not a scene of it.
    return plain && words.size() <= 2 ? 2 : 1;
}

}  // namespace forge
