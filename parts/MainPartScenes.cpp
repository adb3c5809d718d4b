// The six scenes: their boards, the texts with which people refuse a move, and their scripts.
#include "parts/MainPart.h"

// Icons on the boards: 0 1 2 the boy, the table and the mother before she names them; 8 9 10
// the same once named; 12 the friend, 13 the stranger; 16 and 19 floor and wall before the
// naming, 24 and 27 after; 25 house, 26 outdoor ground; 32 void; 33 to 39 the gesture legend.
const int MainPart::sceneGrids[sceneCount][rows][columns] = {
    // 0: the first words. Everything in its first form until the mother names it.
    {{32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 32, 19, 19, 19, 19, 19, 19, 19, 32},
     {32, 32, 19, 16, 16, 2, 16, 16, 19, 32},
     {32, 32, 19, 1, 16, 16, 16, 16, 19, 32},
     {32, 32, 19, 16, 16, 16, 16, 16, 19, 32},
     {32, 32, 19, 16, 16, 16, 0, 16, 19, 32},
     {32, 32, 19, 19, 19, 19, 19, 19, 19, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32}},
    // 1: the pointing lesson. The boy three cells below his mother; up, down, left, right.
    {{32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 33, 27, 27, 27, 27, 27, 27, 27, 32},
     {32, 34, 27, 24, 24, 10, 24, 24, 27, 32},
     {32, 35, 27, 24, 24, 24, 24, 24, 27, 32},
     {32, 36, 27, 24, 24, 24, 24, 24, 27, 32},
     {32, 32, 27, 9, 24, 8, 24, 24, 27, 32},
     {32, 32, 27, 27, 27, 27, 27, 27, 27, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32}},
    // 2: the conversation lesson. The boy right below his mother; the U-shape joins the legend.
    {{32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 33, 27, 27, 27, 27, 27, 27, 27, 32},
     {32, 34, 27, 24, 24, 24, 24, 10, 27, 32},
     {32, 35, 27, 24, 24, 24, 24, 8, 27, 32},
     {32, 36, 27, 24, 24, 24, 24, 24, 27, 32},
     {32, 37, 27, 9, 24, 24, 24, 24, 27, 32},
     {32, 32, 27, 27, 27, 27, 27, 27, 27, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32}},
    // 3: the friend, diagonally next to the boy; the stranger behind an inner wall. The
    // proposition replaces the Z-shape in the legend.
    {{32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 33, 27, 27, 27, 27, 27, 27, 27, 32},
     {32, 34, 27, 8, 24, 27, 24, 13, 27, 32},
     {32, 35, 27, 24, 12, 27, 24, 24, 27, 32},
     {32, 36, 27, 24, 24, 24, 24, 24, 27, 32},
     {32, 37, 27, 24, 24, 24, 24, 24, 27, 32},
     {32, 39, 27, 27, 27, 27, 27, 27, 27, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32}},
    // 4: the sales job. An estate of exactly four houses; the Z-shape sells.
    {{32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 33, 27, 27, 27, 27, 27, 27, 27, 32},
     {32, 34, 27, 26, 25, 26, 25, 26, 27, 32},
     {32, 35, 27, 26, 26, 26, 26, 26, 27, 32},
     {32, 36, 27, 26, 25, 26, 25, 26, 27, 32},
     {32, 37, 27, 8, 26, 26, 26, 26, 27, 32},
     {32, 38, 27, 27, 27, 27, 27, 27, 27, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32}},
    // 5: the ending. Nothing but void: no boy, no legend, nothing to do but read.
    {{32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32},
     {32, 32, 32, 32, 32, 32, 32, 32, 32, 32}},
};

namespace {

// A refusal slot as written: the first time, and every time after. An empty first text
// leaves the slot switched off. Each scene has seven slots: 0 up, 1 down, 2 left, 3 right (a
// move that way without having pointed that way), 4 any move during a conversation, 5 and 6
// spare lines that no rule reads.
const int refusalSlots = 7;
struct RefusalText {
    const char* firstText;
    const char* repeatText;
};

// A script line as written: text, trigger (0 after the line before, 1 walking against icon
// triggerArg, 2 gesture triggerArg), and the icon swap made when it is dismissed (-1 none).
struct LineText {
    const char* text;
    int triggerKind;
    int triggerArg;
    int replaceFrom;
    int replaceTo;
};

// The stranger's greeting; scenes 3 and 4 also close their scripts with it, on an icon no
// cell ever holds, so that those scenes rest there until a gesture ends them.
const char* const strangerGreeting = "I noticed you from across the way.";
const int nowhere = 400;

// 0: the first words. The mother names each thing as the boy reaches it, and the naming
// turns it from its first form into its proper icon.
const RefusalText refusals0[refusalSlots] = {
    {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""},
};
const LineText lines0[] = {
    {"Come over here to me, my darling.", 0, 0, -1, 0},
    {"Yes, well done! I am your mother.", 1, 2, 2, 10},
    {"Now, would you show me the table?", 0, 0, -1, 0},
    {"Good boy. That's the table.", 1, 1, 1, 9},
    {"Now, where are the walls?", 0, 0, -1, 0},
    {"Yes, dear, those are all the walls.", 1, 19, 19, 27},
    {"And that's the floor.", 0, 0, 16, 24},
    {"And you're my little boy.", 0, 0, 0, 8},
    {"You learn so quickly! Mother's proud of you.", 0, 0, -1, 0},
};

// 1: the pointing lesson. Slots: up, down, left, right; a move without pointing is refused.
const RefusalText refusals1[refusalSlots] = {
    {"Now, now! You must point towards me before you move towards me, sweetheart.",
     "To point up, press the button, drag the mouse upwards and then let it go."},
    {"You must point down first, dear, before you move down.",
     "You must point down first, dear, before you move down."},
    {"No! You can't go west like that.  Point west first, then go there.",
     "You must point west first, dear, before you move west."},
    {"No! You can't go east like that. Point east first, then go there.",
     "You must point east first, dear, before you move east."},
    {"", ""},
    {"", ""},
    {"", ""},
};
const LineText lines1[] = {
    {"Now, my little one, it is time you had a few lessons in how to behave.", 0, 0, -1, 0},
    {"You cannot simply walk about wherever you please.  People will think that you have gone mad.",
     0, 0, -1, 0},
    {"You must never make a move without first giving some outward sign of what you intend to do.",
     0, 0, -1, 0},
    {"That sign is the gesture which is appropriate to your move.", 0, 0, -1, 0},
    {"To move north, hold down the mouse button, drag straight upwards, and then let it go.", 0, 0,
     -1, 0},
    {"Then everyone around you will see you point north and understand where you are going.", 0, 0,
     -1, 0},
    {"Otherwise your movement would come as a real shock to them, and they'd be frightened.", 0, 0,
     -1, 0},
    {"Now show me.  Point north, and come up to say hello to me.", 0, 0, -1, 0},
    {"Yes! Good, my boy.", 1, 10, -1, 0},
    {"Now walk over to the table in the same way.", 0, 0, -1, 0},
    {"Wonderful! Now your body shows everyone exactly what you intend to do, son.", 1, 9, -1, 0},
};

// 2: the conversation lesson. Slot 4 refuses any move until the U-shape ends the talk.
const RefusalText refusals2[refusalSlots] = {
    {"Did you learn nothing before, dear?", "Show me that you are moving up first, please."},
    {"Don't be so stupid! What did I just teach you?",
     "Show me that you're going to move down first, dear."},
    {"How vulgar!  Don't do that.", "Show me that you are moving left first, dear."},
    {"Why must you act like that, child?", "Show me that you're going to move right first, dear."},
    {"You cannot just walk away from me!  Signal the end of our conversation first.",
     "Make a U-shape to end the conversation"},
    {"", ""},
    {"", ""},
};
const LineText lines2[] = {
    {"Oh, how fast you're growing up, dear.", 0, 0, -1, 0},
    {"Why, not long ago you were just a baby.", 0, 0, -1, 0},
    {"And now you go out each and every night looking for men.", 0, 0, -1, 0},
    {"But those encounters are not enough to live on, darling.", 0, 0, -1, 0},
    {"You need to learn the art of conversation.", 0, 0, -1, 0},
    {"And now, for the most important part of any conversation...", 0, 0, -1, 0},
    {"It is how you end one.", 0, 0, -1, 0},
    {"To end a conversation, you draw a U-shape, from right to left.", 0, 0, -1, 0},
    {"You can't politely leave anyone's company until you have made that sign.", 0, 0, -1, 0},
    {"Now, make your way over to the table.", 0, 0, -1, 0},
    {"Marvellous! You will be a celebrated wit one day, son.", 1, 9, -1, 0},
};

// 3: the friend. Bystanders refuse, the friend minds being left; slot 6 is stored, never read.
// The scene ends by the proposition made to the stranger.
const RefusalText refusals3[refusalSlots] = {
    {"Hey, what exactly are you doing?", "You're absent-minded, eh?"},
    {"What is wrong with you?!", "Clumsy idiot."},
    {"Have you got no manners?", "What a boor."},
    {"You look confused there, buddy.", "You must be a foreigner, aren't you?"},
    {"Why are you walking away?", "Man, that is rude."},
    {"", ""},
    {"Why're you hesitating, man?", "Come on, man, go and talk to him already!"},
};
const LineText lines3[] = {
    {"Hey man! Long time no see. How have you been?", 0, 0, -1, 0},
    {"Have you been busy with classes, or what?", 1, 12, -1, 0},
    {"Hey, do you see that guy there, round the corner?", 0, 0, -1, 0},
    {"I think he's been checking you out, man.", 0, 0, -1, 0},
    {"Go on, then, go round there and say hello to him.", 0, 0, -1, 0},
    {strangerGreeting, 1, 13, -1, 0},
    {"You're very sweet, did anyone tell you?", 0, 0, -1, 0},
    {strangerGreeting, 1, nowhere, -1, 0},
};

// 4: the sales job. Nothing is refused; slot 5 is stored, never read. The monologue turns the
// estate into its late forms, and the fourth sale ends the scene.
const RefusalText refusals4[refusalSlots] = {
    {"", ""},
    {"", ""},
    {"", ""},
    {"", ""},
    {"", ""},
    {"What are you doing? You can't sell anything to thin air, kid.",
     "Stop rehearsing and get to work. Now, please."},
    {"", ""},
};
const LineText lines4[] = {
    {"So, kid, it's your first day here.", 0, 0, -1, 0},
    {"Now, I hear you have never worked in sales before.", 0, 0, -1, 0},
    {"Well, selling door to door is going to be quite a revelation for you.", 0, 0, -1, 0},
    {"So, tell me: what do the people around us really know?", 0, 0, -1, 0},
    {"They just go from A to B.", 0, 0, -1, 0},
    {"All they ever see are the concepts they've been fed since they were born.", 0, 0, -1, 0},
    {"In sales you have to be alert to everything that's around you.", 0, 0, -1, 0},
    {"Take in your surroundings, kid, and you can find your way and spot each opportunity.", 0, 0,
     -1, 0},
    {"Now, look around you.", 0, 0, 27, 19},
    {"No, really look.", 0, 0, 26, 18},
    {"Take everything in.", 0, 0, 25, 17},
    {"And be aware of how you look to other people.", 0, 0, 8, 3},
    {"On your way between houses, you needn't pander to what other people expect.", 0, 0, 27, 19},
    {"Only the sale counts, got it?", 0, 0, 27, 19},
    {"Here's the product: our own brand of mascara.", 0, 0, 27, 19},
    {"At any house, just make the Z-gesture with your mouse.  The sale will be yours.", 0, 0, 27,
     19},
    {"After a sale, don't bother with polite goodbyes. Move straight on to the next house, kid.", 0,
     0, 27, 19},
    {"Now I'll leave you to cover the estate. I'll come and get you later on.", 0, 0, 27, 19},
    {strangerGreeting, 1, nowhere, -1, 0},
};

// 5: the ending, over an empty board.
const RefusalText refusals5[refusalSlots] = {
    {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""},
};
const LineText lines5[] = {
    {"You made a lot of profit.", 0, 0, -1, 0},
    {"And your eyes have been opened as well.", 0, 0, -1, 0},
    {"You no longer behave like a symbol or a concept.", 0, 0, -1, 0},
    {"You are yourself, again.", 0, 0, -1, 0},
    {"A free agent.", 0, 0, -1, 0},
    {"Now, does that feel good?", 0, 0, -1, 0},
};

// A scene's content as appendSceneContent hands it out.
struct SceneText {
    const RefusalText* refusals; // refusalSlots of them
    const LineText* lines;
    int lineCount;
};

template <int N>
constexpr SceneText scene(const RefusalText (&refusals)[refusalSlots], const LineText (&lines)[N]) {
    return {refusals, lines, N};
}

const SceneText scenes[MainPart::sceneCount] = {
    scene(refusals0, lines0), scene(refusals1, lines1), scene(refusals2, lines2),
    scene(refusals3, lines3), scene(refusals4, lines4), scene(refusals5, lines5),
};

} // namespace

void MainPart::appendSceneContent(int sceneNumber) {
    const SceneText& content = scenes[sceneNumber];
    for (int slot = 0; slot < refusalSlots; ++slot) {
        MoveRefusal refusal;
        refusal.firstText = content.refusals[slot].firstText;
        refusal.repeatText = content.refusals[slot].repeatText;
        refusals.push_back(refusal);
    }
    for (int i = 0; i < content.lineCount; ++i) {
        const LineText& written = content.lines[i];
        ScriptLine line;
        line.text = written.text;
        line.triggerKind = written.triggerKind;
        line.triggerArg = written.triggerArg;
        line.replaceFrom = written.replaceFrom;
        line.replaceTo = written.replaceTo;
        script.push_back(line);
    }
}
