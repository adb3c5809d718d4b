// The six scenes as the player meets them: each board as it looks, who refuses which move and
// with what words, the script of lines with what opens each and what it changes, and what people
// say back to the gestures. Every word the player reads in the box is here.
#include <array>
#include <initializer_list>
#include <utility>

#include "parts/Direction.h"
#include "parts/MainPart.h"

namespace {
// Two letters a cell, so that each board below reads as the player sees it. Lower case is the
// first form a thing has in the first scene, before the mother names it.
constexpr int Vd = Icon::voidTile;
constexpr int Wl = Icon::wall, wl = Icon::wallFirstForm;
constexpr int Fl = Icon::floor, fl = Icon::floorFirstForm;
constexpr int Gr = Icon::ground;
constexpr int Hs = Icon::house;
constexpr int Bo = Icon::boy, bo = Icon::boyFirstForm;
constexpr int Mo = Icon::mother, mo = Icon::motherFirstForm;
constexpr int Tb = Icon::table, tb = Icon::tableFirstForm;
constexpr int Fr = Icon::oldFriend;
constexpr int St = Icon::stranger;
// The legend down the left side: the gestures the scene accepts. Point up, down, left, right;
// the U-shape, the Z-shape and the proposition.
constexpr int Up = Icon::firstLegend + pointUp, Dn = Icon::firstLegend + pointDown;
constexpr int Lf = Icon::firstLegend + pointLeft, Rt = Icon::firstLegend + pointRight;
constexpr int Us = Icon::firstLegend + uShape, Zs = Icon::firstLegend + zShape;
constexpr int Pr = Icon::firstLegend + proposition;
} // namespace

const int MainPart::sceneGrids[sceneCount][rows][columns] = {
    // 0: the first words. A room where everything is still in its first form.
    {{Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Vd, wl, wl, wl, wl, wl, wl, wl, Vd},
     {Vd, Vd, wl, fl, fl, mo, fl, fl, wl, Vd},
     {Vd, Vd, wl, tb, fl, fl, fl, fl, wl, Vd},
     {Vd, Vd, wl, fl, fl, fl, fl, fl, wl, Vd},
     {Vd, Vd, wl, fl, fl, fl, bo, fl, wl, Vd},
     {Vd, Vd, wl, wl, wl, wl, wl, wl, wl, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd}},
    // 1: the pointing lesson. The boy three cells below his mother.
    {{Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Up, Wl, Wl, Wl, Wl, Wl, Wl, Wl, Vd},
     {Vd, Dn, Wl, Fl, Fl, Mo, Fl, Fl, Wl, Vd},
     {Vd, Lf, Wl, Fl, Fl, Fl, Fl, Fl, Wl, Vd},
     {Vd, Rt, Wl, Fl, Fl, Fl, Fl, Fl, Wl, Vd},
     {Vd, Vd, Wl, Tb, Fl, Bo, Fl, Fl, Wl, Vd},
     {Vd, Vd, Wl, Wl, Wl, Wl, Wl, Wl, Wl, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd}},
    // 2: the conversation lesson. The boy right below his mother; the U-shape joins the legend.
    {{Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Up, Wl, Wl, Wl, Wl, Wl, Wl, Wl, Vd},
     {Vd, Dn, Wl, Fl, Fl, Fl, Fl, Mo, Wl, Vd},
     {Vd, Lf, Wl, Fl, Fl, Fl, Fl, Bo, Wl, Vd},
     {Vd, Rt, Wl, Fl, Fl, Fl, Fl, Fl, Wl, Vd},
     {Vd, Us, Wl, Tb, Fl, Fl, Fl, Fl, Wl, Vd},
     {Vd, Vd, Wl, Wl, Wl, Wl, Wl, Wl, Wl, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd}},
    // 3: the friend, diagonally next to the boy; the stranger behind an inner wall, reached
    // round it through the lower rows. The proposition joins the legend.
    {{Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Up, Wl, Wl, Wl, Wl, Wl, Wl, Wl, Vd},
     {Vd, Dn, Wl, Bo, Fl, Wl, Fl, St, Wl, Vd},
     {Vd, Lf, Wl, Fl, Fr, Wl, Fl, Fl, Wl, Vd},
     {Vd, Rt, Wl, Fl, Fl, Fl, Fl, Fl, Wl, Vd},
     {Vd, Us, Wl, Fl, Fl, Fl, Fl, Fl, Wl, Vd},
     {Vd, Pr, Wl, Wl, Wl, Wl, Wl, Wl, Wl, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd}},
    // 4: the sales job. An estate of exactly four houses on open ground; the Z-shape sells.
    {{Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Up, Wl, Wl, Wl, Wl, Wl, Wl, Wl, Vd},
     {Vd, Dn, Wl, Gr, Hs, Gr, Hs, Gr, Wl, Vd},
     {Vd, Lf, Wl, Gr, Gr, Gr, Gr, Gr, Wl, Vd},
     {Vd, Rt, Wl, Gr, Hs, Gr, Hs, Gr, Wl, Vd},
     {Vd, Us, Wl, Bo, Gr, Gr, Gr, Gr, Wl, Vd},
     {Vd, Zs, Wl, Wl, Wl, Wl, Wl, Wl, Wl, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd}},
    // 5: the ending. Nothing but void: no boy, no legend, nothing to do but read.
    {{Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd},
     {Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd, Vd}},
};

namespace {
// A scene's refusals, slot by slot (see MoveRefusal.h); a slot not given refuses nothing.
using Refusals = std::array<MoveRefusal, refusalSlotCount>;

Refusals refusing(std::initializer_list<std::pair<int, MoveRefusal>> given) {
    Refusals refusals;
    for (const auto& [slot, refusal] : given)
        refusals[slot] = refusal;
    return refusals;
}

struct Scene {
    Refusals refusals;
    std::vector<ScriptLine> script;
};

// The stranger's greeting. The scenes that end by a gesture close their scripts with it,
// waiting for a cell no board holds, so that they rest there until the gesture comes.
const char* const strangerGreeting = "I noticed you from across the way.";
const ScriptLine restingLine = onWalkingInto(Icon::nowhere, strangerGreeting);

// 0: the first words. The mother names each thing as the boy reaches it, and the naming turns
// it from its first form into its proper icon. Nobody refuses anything yet.
const Scene firstWords = {
    {},
    {
        said("Come over here to me, my darling."),
        onWalkingInto(Icon::motherFirstForm, "Yes, well done! I am your mother.")
            .turning(Icon::motherFirstForm, Icon::mother),
        said("Now, would you show me the table?"),
        onWalkingInto(Icon::tableFirstForm, "Good boy. That's the table.")
            .turning(Icon::tableFirstForm, Icon::table),
        said("Now, where are the walls?"),
        onWalkingInto(Icon::wallFirstForm, "Yes, dear, those are all the walls.")
            .turning(Icon::wallFirstForm, Icon::wall),
        said("And that's the floor.").turning(Icon::floorFirstForm, Icon::floor),
        said("And you're my little boy.").turning(Icon::boyFirstForm, Icon::boy),
        said("You learn so quickly! Mother's proud of you."),
    },
};

// 1: the pointing lesson. The mother refuses every move he has not pointed first.
const Scene pointingLesson = {
    refusing({
        {moveUp,
         {"Now, now! You must point towards me before you move towards me, sweetheart.",
          "To point north, press the button, drag the mouse upwards, then let it go."}},
        {moveDown,
         {"You must point south first, dear, before you go south.",
          "You must point south first, dear, before you go south."}},
        {moveLeft,
         {"No! You cannot go west like that. Point west first, then go there.",
          "You must point west first, dear, before you move west."}},
        {moveRight,
         {"No! You can't go east like that. Point east first, then go there.",
          "You must point east first, dear, before you move east."}},
    }),
    {
        said("Now, my little one, it is time you had a few lessons in how to behave."),
        said("You cannot simply walk about wherever you please, dear. People will think you "
             "have gone mad."),
        said("You must never make a move without first giving some outward sign of what you "
             "intend to do."),
        said("That sign is the gesture which is appropriate to your move."),
        said("To move north, hold down the mouse button, drag straight upwards, and then let it "
             "go."),
        said("Then everyone around you will see you point north and understand where you are "
             "going."),
        said("Otherwise your movement would come as a real shock to them, and they'd be "
             "frightened."),
        said("Now show me, poppet: point north, then come and say hello."),
        onWalkingInto(Icon::mother, "Yes! Good, my boy."),
        said("Now walk over to the table in the same way."),
        onWalkingInto(Icon::table,
                      "Wonderful! Now your body shows everyone exactly what you intend to do, "
                      "son."),
    },
};

// 2: the conversation lesson. Every line and every refusal opens a conversation, and the mother
// refuses any move until the U-shape has ended it; a move then still needs its pointing. So each
// reminder names both steps, the U and then the point: a player who does just what a reminder
// says always gets on.
const Scene conversationLesson = {
    refusing({
        {moveUp,
         {"Did you learn nothing before, dear?", "End our talk with a U, then point up, please."}},
        {moveDown,
         {"Don't be so stupid! A U first, point down, go.",
          "Draw a U, then show me that you're going down, son."}},
        {moveLeft,
         {"How vulgar! A U, point, go.", "Draw a U, then point left before you go, son."}},
        {moveRight,
         {"Why must you act like that, child?",
          "Draw a U, then show me that you're going right, son."}},
        {leavingSlot,
         {"You can't just walk away from me! End our talk with a U, then point, then go.",
          "Draw a U to end this, then point, son."}},
    }),
    {
        said("Oh, how fast you're growing up, dear."),
        said("Why, not long ago you were just a baby."),
        said("And now you go out each and every night looking for men."),
        said("But those encounters are not enough to live on, darling."),
        said("You need to learn the art of conversation."),
        said("And now, for the most important part of any conversation..."),
        said("It is how you end one."),
        said("Draw a big U from the top right: down, across to the left, up."),
        said("You can't politely leave anyone's company until you have made that sign."),
        said("Now, make your way over to the table."),
        onWalkingInto(Icon::table, "Marvellous! You will be a celebrated wit one day, son."),
    },
};

// 3: the friend. Bystanders refuse moves made without pointing, the friend minds being left (a
// refusal opens a conversation here too, so the short insults hint at the step that is missing);
// his urging in the second spare slot is never read. The proposition made to the stranger ends
// the scene.
const Scene theFriend = {
    refusing({
        {moveUp, {"Hey, what exactly are you doing?", "You're absent-minded, eh?"}},
        {moveDown, {"What is wrong with you?!", "Point, idiot."}},
        {moveLeft, {"Have you got no manners?", "Point, boor."}},
        {moveRight, {"You look confused there, buddy.", "You must be a foreigner, aren't you?"}},
        {leavingSlot, {"Why are you walking away?", "So rude. U, point."}},
        {spareSlot2, {"Why're you hesitating, man?", "Come on, man, go and talk to him already!"}},
    }),
    {
        // The friend.
        said("Hey man! Long time no see. How have you been?"),
        onWalkingInto(Icon::oldFriend, "Have you been busy with classes, or what?"),
        said("Hey, do you see that guy there, round the corner?"),
        said("I think he's been checking you out, man."),
        said("Go on, then. Go round there and say hello to him."),
        // The stranger.
        onWalkingInto(Icon::stranger, strangerGreeting),
        said("You're very sweet. Did anyone tell you?"),
        restingLine,
    },
};

// 4: the sales job. Nobody refuses anything; the boss's objection in the first spare slot is
// never read. As the boss talks, the estate turns into its late forms, the boy with it; the
// fourth sale ends the scene.
const Scene salesJob = {
    refusing({
        {spareSlot1,
         {"What are you doing? You can't sell anything to thin air, kid.",
          "Stop rehearsing and get to work. Now, please."}},
    }),
    {
        said("So, kid, it's your first day here."),
        said("Now, I hear you have never worked in sales before."),
        said("Well, selling door to door is going to be quite a revelation for you."),
        said("So, tell me: what do the people around us really know?"),
        said("They just go from A to B."),
        said("All they ever see are the concepts they've been fed since they were born."),
        said("In sales you have to be alert to everything that's around you."),
        said("Take in your surroundings, kid, and you can find your way and spot each "
             "opportunity."),
        said("Now, look around you.").turning(Icon::wall, Icon::wallFirstForm),
        said("No, really look.").turning(Icon::ground, Icon::groundLateForm),
        said("Take everything in.").turning(Icon::house, Icon::houseLateForm),
        said("And be aware of how you look to other people.").turning(Icon::boy, Icon::boyLateForm),
        // From here on every line turns the walls again, deliberately: they have all turned
        // already, so it changes nothing, and nothing relies on it.
        said("On your way between houses, you needn't pander to what other people expect.")
            .turning(Icon::wall, Icon::wallFirstForm),
        said("Only the sale counts, got it?").turning(Icon::wall, Icon::wallFirstForm),
        said("Here's the product: our own brand of mascara.")
            .turning(Icon::wall, Icon::wallFirstForm),
        said("Next to a house, draw a big Z with your mouse: right, down-left, right. A sale!")
            .turning(Icon::wall, Icon::wallFirstForm),
        said("After a sale, don't bother with polite goodbyes. Move straight on to the next "
             "house, kid.")
            .turning(Icon::wall, Icon::wallFirstForm),
        said("Now I'll leave you to cover the estate. I'll come and get you later on.")
            .turning(Icon::wall, Icon::wallFirstForm),
        restingLine,
    },
};

// 5: the ending, over an empty board.
const Scene theEnding = {
    {},
    {
        said("You made a lot of profit."),
        said("And your eyes have been opened as well."),
        said("You no longer behave like a symbol or a concept."),
        said("Once again, you are you."),
        said("A free agent."),
        said("Now, does that feel good?"),
    },
};

const Scene* const scenes[MainPart::sceneCount] = {
    &firstWords, &pointingLesson, &conversationLesson, &theFriend, &salesJob, &theEnding,
};

// The first and the last customer of the sales job say the same.
constexpr const char* bargain = "Oh, that looks like a real bargain.  I'll take two!";
} // namespace

// The reactions, in whatever scene the gesture is made: the Z-shape sells only in the sales job,
// and only the friend's scene has the proposition and the two people who answer it.
const MainPart::Reactions MainPart::reactions = {
    {
        bargain,
        "Hmm...I've never bought one before, but I'll try it anyway.",
        "Oh, I've been looking for mascara like this all my life!",
        bargain,
    },
    "Come on; let's go back to my place, yeah?",
    "What...what are you trying to do?  Cut it out, man; that's not cool.",
};

void MainPart::appendSceneContent(int scene) {
    refusals.insert(refusals.end(), scenes[scene]->refusals.begin(), scenes[scene]->refusals.end());
    script.insert(script.end(), scenes[scene]->script.begin(), scenes[scene]->script.end());
}
